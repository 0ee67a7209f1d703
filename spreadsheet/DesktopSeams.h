#pragma once

#include <QString>
#include <memory>

class QPrinter;

namespace kb::spreadsheet {

// What the server hands to the desktop, behind one interface so that the
// server needs no window of its own and tests start no program and need no
// printer. The program sets its implementation where it registers the server.
class DesktopSeams {
public:
    virtual ~DesktopSeams() = default;
    // The default printer, nullptr when none is configured.
    virtual std::unique_ptr<QPrinter> defaultPrinter() = 0;
    // Opens a written workbook in the desktop's spreadsheet program, detached;
    // false when nothing can open it.
    virtual bool openWorkbook(const QString& path) = 0;
    // Tells the user something the server cannot report as an error.
    virtual void tell(const QString& message) = 0;
    // The folder a workbook is written to, ready for a new file; throws
    // std::runtime_error with the reason when there is none.
    virtual QString workbookFolder() = 0;
};

// The system's side: the default printer (CUPS), xdg-open, and the user's
// private export folder, cleared of the program's old workbooks
// (WorkbookFolder.h). Telling is left to the program's message box.
class SystemDesktop : public DesktopSeams {
public:
    std::unique_ptr<QPrinter> defaultPrinter() override;
    bool openWorkbook(const QString& path) override;
    QString workbookFolder() override;
};

} // namespace kb::spreadsheet
