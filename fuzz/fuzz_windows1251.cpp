// The pay slip's Windows-1251 encoder on any text: it encodes each character as one byte or refuses, naming one.

#include "FuzzCheck.h"
#include "Windows1251.h"

#include <QList>
#include <memory>
#include <stdexcept>
#include <unicode/ucnv.h>

static QString decode(const QByteArray& bytes) {
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<UConverter, decltype(&ucnv_close)> converter(ucnv_open("windows-1251", &status), &ucnv_close);
    std::u16string text(size_t(bytes.size()) + 1, u'\0');
    const int32_t length = ucnv_toUChars(converter.get(), text.data(), int32_t(text.size()), bytes.constData(),
                                         int32_t(bytes.size()), &status);
    kb::fuzz::check(U_SUCCESS(status), "the decoder reads what the encoder wrote");
    return QString::fromUtf16(text.data(), length);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kb;
    const std::string_view bytes = fuzz::bytes(data, size);
    const QString text = fuzz::utf8(bytes);
    const bool ascii = fuzz::isAscii(bytes); // malformed UTF-8 is not ASCII either: it reads as U+FFFD
    try {
        const QByteArray encoded = reports::toWindows1251(text);
        fuzz::check(encoded.size() == text.toUcs4().size(), "one byte per character", text);
        fuzz::check(decode(encoded) == text, "the encoded text decodes back to itself", text);
        fuzz::check(!ascii || encoded == text.toLatin1(), "ASCII stays byte for byte", text);
    } catch (const std::runtime_error& e) {
        fuzz::check(!ascii, "ASCII is never refused", text);
        const QString message = QString::fromUtf8(e.what());
        const qsizetype open = message.indexOf(u'«'), close = message.indexOf(u'»', open + 1);
        fuzz::check(open >= 0 && close > open + 1 && text.contains(message.mid(open + 1, close - open - 1)),
                    "a refusal names a character of the text", text + u'\n' + message);
    }
    return 0;
}
