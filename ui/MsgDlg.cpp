#include "MsgDlg.h"

#include "ModalDialogs.h"
#include "TFormMsgDlg.h"

#include <algorithm>
#include <initializer_list>
#include <stdexcept>

namespace kb::ui {

namespace {

const MsgButtonLook kLooks[] = {
    {BtnYes, QStringLiteral("Да"), 1, IdYes, false},
    {BtnNo, QStringLiteral("Нет"), 3, IdNo, false},
    {BtnOk, QStringLiteral("Верно"), 1, IdOk, false},
    {BtnCancel, QStringLiteral("Отмена"), 2, IdCancel, true},
    {BtnAbort, QStringLiteral("Прервать"), 2, IdAbort, true},
    {BtnRetry, QStringLiteral("Повтор"), -1, IdRetry, false},
    {BtnIgnore, QStringLiteral("Пропуск"), 4, IdIgnore, false},
};

// Takes the first of the candidates that is still in the set out of it.
const MsgButtonLook* takeFirst(TMsgButtons& buttons, std::initializer_list<TMsgButton> candidates) {
    for (const TMsgButton flag : candidates) {
        if (buttons.testFlag(flag)) {
            buttons.setFlag(flag, false);
            return &msgButtonLook(flag);
        }
    }
    return nullptr;
}

} // namespace

const MsgButtonLook& msgButtonLook(TMsgButton flag) {
    const auto* look = std::find_if(std::begin(kLooks), std::end(kLooks),
                                    [flag](const MsgButtonLook& candidate) { return candidate.flag == flag; });
    if (look == std::end(kLooks))
        throw std::invalid_argument("no such answer button");
    return *look;
}

MsgButtonSlots msgButtonSlots(TMsgButtons buttons) {
    // The bottom place first, so Cancel and Abort always land there.
    MsgButtonSlots places{};
    places[2] = takeFirst(buttons, {BtnAbort, BtnCancel, BtnOk, BtnNo});
    places[1] = takeFirst(buttons, {BtnOk, BtnNo, BtnYes, BtnIgnore});
    places[0] = takeFirst(buttons, {BtnYes, BtnRetry});
    return places;
}

std::uint16_t ShowMsgDlgEx(const QString& text, const QString& details, TMsgKind kind, TMsgButtons buttons) {
    TFormMsgDlg dialog;
    dialog.setMessage(text, details);
    dialog.applyKind(kind);
    dialog.placeButtons(msgButtonSlots(buttons));
    const int result = dialogs().execDialog(dialog);
    dialog.hide();
    return static_cast<std::uint16_t>(result);
}

std::uint16_t ShowMsgDlg(const QString& text, TMsgKind kind, TMsgButtons buttons) {
    return ShowMsgDlgEx(text, QString(), kind, buttons);
}

void ShowInfoMsg(const QString& text) {
    ShowMsgDlg(text, MsgInformation, BtnOk);
}

} // namespace kb::ui
