#pragma once

#include <filesystem>
#include <memory>
#include <thread>

namespace cadrix::app {

class AboutBox;
class ExInfoForm;
class FormMain;
class HistoryWindows;
class LoadForm;
class SetBox;
class UiHost;
struct WorkFolders;

// The program's five windows and the history's windows beside them, which
// keep their snapshots in `historyFile`. The main window and the tables'
// window are made at once; the About box, the settings and the detail panel
// when first needed. Once made, each is kept until the program ends.
struct AppWindows {
    AppWindows(UiHost& host, const WorkFolders& folders, const std::filesystem::path& historyFile);
    ~AppWindows();

    AboutBox& aboutBox();
    SetBox& setBox();
    ExInfoForm& exInfoForm();

    std::unique_ptr<FormMain> formMain;
    std::unique_ptr<LoadForm> loadForm;
    std::unique_ptr<HistoryWindows> history;
};

// Reads the system's font configuration on a thread of its own. Reading it
// takes longer than anything else before the window can be shown, and nothing
// needs it until the first font is looked up: begun before the application
// object connects to the display, it is done by the time that is. wait()
// before LoadFonts(); the destructor waits too.
class FontConfigurationLoad {
public:
    FontConfigurationLoad();
    ~FontConfigurationLoad();
    FontConfigurationLoad(const FontConfigurationLoad&) = delete;
    FontConfigurationLoad& operator=(const FontConfigurationLoad&) = delete;

    void wait();

private:
    std::thread m_thread;
};

// Makes the compiled-in pictures available; call once after the application
// object exists.
void LoadPictures();

// Makes the program's own fonts known to Qt. Call once after the application
// object exists and before any text is measured or drawn: Qt resolves a font
// on first use and keeps what it found.
void LoadFonts();

// Both of the above.
void LoadResources();

// Qt's own texts (the file dialogs, the buttons of message boxes) in
// Russian, whatever the host's locale, as the rest of the program speaks.
// False when the translation is not installed; Qt then speaks English.
bool InstallQtTranslation();

}  // namespace cadrix::app
