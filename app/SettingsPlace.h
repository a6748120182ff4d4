#pragma once

#include <QTemporaryDir>

#include <memory>

// Where the editor keeps its settings (the recent files, the preview's page
// count). The superuser started with another user's home (as `sudo -E` does)
// must leave nothing of its own there: a settings file or folder it made
// would belong to it, and the user's own editor could no longer save its
// settings. Such a run keeps its settings in a folder of its own that goes
// when the run ends; what the user's settings hold is still read.
class SettingsPlace {
public:
    // Call at start, after the user's settings are read and before anything
    // writes them. True when the settings stay where they are.
    bool KeepOutOfOtherUsersFolders();

private:
    std::unique_ptr<QTemporaryDir> m_ownFolder;
};
