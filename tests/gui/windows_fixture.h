#pragma once

// The room every window test runs in: a temporary folder holding the working
// folders, the history and, where asked, the settings; the scripted host that
// answers the dialogs; and the program's windows over them.

#include <filesystem>
#include <memory>

#include <QObject>
#include <QTemporaryDir>

#include "app_windows.h"
#include "archive_import.h"
#include "form_main.h"
#include "scripted_host.h"
#include "support.h"

class WindowsFixture : public QObject {
protected:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedHost> m_host;
    std::unique_ptr<cadrix::app::AppWindows> m_windows;
    cadrix::app::WorkFolders m_folders;

    std::filesystem::path root() const { return m_dir->path().toStdString(); }
    std::filesystem::path historyFile() const { return root() / "history.sqlite"; }
    cadrix::app::FormMain& form() { return *m_windows->formMain; }

    // The folder and the host; the windows are made by createWindows.
    void openRoom(bool ownSettings) {
        m_dir = std::make_unique<QTemporaryDir>();
        if (ownSettings)
            KeepSettingsIn(m_dir->filePath(QStringLiteral("settings")));
        m_host = std::make_unique<ScriptedHost>();
    }

    void createWindows() {
        m_folders = cadrix::app::ResolveWorkFolders(root() / "work");
        m_windows = std::make_unique<cadrix::app::AppWindows>(*m_host, m_folders, historyFile());
    }

    void closeRoom() {
        m_windows.reset();
        m_host.reset();
        m_dir.reset();
    }
};
