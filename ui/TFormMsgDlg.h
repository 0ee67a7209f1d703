#pragma once

#include "AnchoredPlacement.h"
#include "MsgDlg.h"

#include <QDialog>
#include <QPixmap>
#include <array>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace kb::ui {

class BevelPanel;

// The message dialog's window, captioned "Обратите внимание !": the message
// in a framed panel (or, in the details view, the message and the details in
// a memo), the kind's icon and title at the right, the answer buttons and
// the details toggle at the bottom right. Sizeable down to an outer size of
// 406 × 216, always on top, centred on the screen. ShowMsgDlgEx fills it and
// shows it; see MsgDlg.h.
//
//   object name   member           what it does
//   PanelBG       background       raised panel under everything
//   PaneText      textPanel        framed panel around the message
//   LabelText     textLabel        the message, bold, in the kind's colour
//   Memo          detailsMemo      message and details, in the details view
//   ImageAsk      questionIcon     icon of a question
//   ImageWrn      warningIcon      icon of a warning
//   ImageInf      informationIcon  icon of an information
//   ImageErr      errorIcon        icon of an error
//   LabelTitleBK  titleShadow      white copy of the title, one pixel off
//   LabelTitle    titleLabel       the kind's word in its colour
//   BitBtnUp      topButton        top answer button
//   BitBtnMid     middleButton     middle answer button
//   BitBtnDn      bottomButton     bottom answer button, the default one
//   BitBtnMore    detailsToggle    "Ещё >>" / "<< Ещё": toggleDetails()
class TFormMsgDlg : public QDialog {
    Q_OBJECT
public:
    explicit TFormMsgDlg(QWidget* parent = nullptr);

    // The message in the label; with details, the message and the details
    // on the next line in the memo, and the details toggle enabled.
    void setMessage(const QString& text, const QString& details);
    // Shows the kind's icon and title and colours the title and the text; a
    // value outside the four kinds changes nothing.
    void applyKind(TMsgKind kind);
    // Shows the answer buttons in their places, top to bottom; an empty
    // place stays hidden.
    void placeButtons(const MsgButtonSlots& places);

    // Switches between the message and the details view.
    void toggleDetails();

    // The client area when the window opens; the smallest outer size.
    static constexpr QSize kClientSize{584, 264};
    static constexpr QSize kMinimumOuterSize{406, 216};

    BevelPanel* background;
    BevelPanel* textPanel;
    QLabel* textLabel;
    QPlainTextEdit* detailsMemo;
    QLabel* questionIcon;
    QLabel* warningIcon;
    QLabel* informationIcon;
    QLabel* errorIcon;
    QLabel* titleShadow;
    QLabel* titleLabel;
    QPushButton* topButton;
    QPushButton* middleButton;
    QPushButton* bottomButton;
    QPushButton* detailsToggle;
    // The answer buttons' pictures, 16 × 16, by index.
    std::array<QPixmap, 5> buttonPictures;

public slots:
    // Closing the window through the window system answers IdCancel.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void buildAnswerButtons();
    void buildTabOrder();
    QPushButton* makeButton(const char* name, const QRect& designed);
    void fillSlot(int place, const MsgButtonLook& look);
    bool handleDialogKey(const QKeyEvent& event);
    void focusFirstControl();
    void centreOnScreen();
    void keepMinimumOuterSize();

    AnchoredPlacement placement_{kClientSize};
    std::array<QPushButton*, 3> answerButtons_{};
    std::array<int, 3> resultCodes_{0, 0, IdOk};
    QPushButton* cancelButton_ = nullptr;
};

} // namespace kb::ui
