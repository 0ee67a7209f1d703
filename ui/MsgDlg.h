#pragma once

#include <QFlags>
#include <QString>
#include <array>
#include <cstdint>

namespace kb::ui {

// The program's own message box: a text beside the icon and coloured title of
// its kind, up to three answer buttons, and an optional details text behind
// "Ещё >>".

// The kind of a message. Any other value is accepted and shows no icon, no
// title and black text.
enum TMsgKind : std::uint8_t { MsgWarning = 0, MsgError = 1, MsgInformation = 2, MsgQuestion = 3 };

// The answer buttons, a 16-bit set; other bits are ignored.
enum TMsgButton : std::uint16_t {
    BtnYes = 0x01,
    BtnNo = 0x02,
    BtnOk = 0x04,
    BtnCancel = 0x08,
    BtnAbort = 0x10,
    BtnRetry = 0x20,
    BtnIgnore = 0x40,
};
Q_DECLARE_FLAGS(TMsgButtons, TMsgButton)
Q_DECLARE_OPERATORS_FOR_FLAGS(TMsgButtons)

// What the dialog returns: the code of the pressed button; closing the
// window through the window system gives IdCancel.
enum TMsgResult : std::uint16_t {
    IdOk = 1,
    IdCancel = 2,
    IdAbort = 3,
    IdRetry = 4,
    IdIgnore = 5,
    IdYes = 6,
    IdNo = 7,
};

// How an answer button looks and what it answers.
struct MsgButtonLook {
    TMsgButton flag;
    QString caption;
    int picture; // index into the dialog's button pictures; -1: none
    TMsgResult result;
    bool cancel; // pressed by Escape
};
const MsgButtonLook& msgButtonLook(TMsgButton flag);

// The answer buttons in the dialog's three places, top to bottom; an empty
// place is nullptr. A flag that loses its place to one of higher priority is
// shown nowhere.
using MsgButtonSlots = std::array<const MsgButtonLook*, 3>;
MsgButtonSlots msgButtonSlots(TMsgButtons buttons);

// Shows the message and waits until it is answered; returns the result code.
std::uint16_t ShowMsgDlgEx(const QString& text, const QString& details, TMsgKind kind, TMsgButtons buttons);
// The same without details.
std::uint16_t ShowMsgDlg(const QString& text, TMsgKind kind, TMsgButtons buttons);
// An information with the one button "Верно".
void ShowInfoMsg(const QString& text);

} // namespace kb::ui
