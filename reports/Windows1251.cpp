#include "Windows1251.h"

#include <memory>
#include <stdexcept>
#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>

namespace kb::reports {

namespace {

using Converter = std::unique_ptr<UConverter, decltype(&ucnv_close)>;

Converter openConverter() {
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open("windows-1251", &status), &ucnv_close);
    if (U_SUCCESS(status))
        ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    if (U_FAILURE(status))
        throw std::runtime_error(std::string("Не удалось открыть кодировку Windows-1251: ") + u_errorName(status));
    return converter;
}

[[noreturn]] void unencodable(const QString& character) {
    const QString code =
        QString::number(
            character.size() == 2 ? QChar::surrogateToUcs4(character[0], character[1]) : character[0].unicode(), 16)
            .toUpper()
            .rightJustified(4, u'0');
    throw std::runtime_error(QStringLiteral("Символ «%1» (U+%2) нельзя записать в кодировке Windows-1251")
                                 .arg(character, code)
                                 .toStdString());
}

} // namespace

QByteArray toWindows1251(const QString& text) {
    const Converter converter = openConverter();
    QByteArray bytes;
    bytes.reserve(text.size());
    // One character at a time, so that a failure names the character.
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
        char encoded[8];
        UErrorCode status = U_ZERO_ERROR;
        const int32_t size =
            ucnv_fromUChars(converter.get(), encoded, int32_t(sizeof encoded),
                            reinterpret_cast<const UChar*>(text.utf16() + i), int32_t(length), &status);
        if (U_FAILURE(status) || size != 1)
            unencodable(text.mid(i, length));
        bytes.append(encoded[0]);
        i += length;
    }
    return bytes;
}

} // namespace kb::reports
