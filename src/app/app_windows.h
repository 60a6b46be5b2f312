#pragma once

#include <filesystem>
#include <memory>

namespace cadrix::app {

class AboutBox;
class ExInfoForm;
class FormMain;
class HistoryWindows;
class LoadForm;
class SetBox;
class UiHost;
struct WorkFolders;

// The program's five windows, created once in this order and kept until the
// program ends, and the history's windows beside them, which keep their
// snapshots in `historyFile`.
struct AppWindows {
    AppWindows(UiHost& host, const WorkFolders& folders, const std::filesystem::path& historyFile);
    ~AppWindows();

    std::unique_ptr<FormMain> formMain;
    std::unique_ptr<LoadForm> loadForm;
    std::unique_ptr<AboutBox> aboutBox;
    std::unique_ptr<SetBox> setBox;
    std::unique_ptr<ExInfoForm> exInfoForm;
    std::unique_ptr<HistoryWindows> history;
};

// Makes the compiled-in pictures available; call once after the application
// object exists.
void LoadResources();

// Qt's own texts (the file dialogs, the buttons of message boxes) in
// Russian, whatever the host's locale, as the rest of the program speaks.
// False when the translation is not installed; Qt then speaks English.
bool InstallQtTranslation();

}  // namespace cadrix::app
