#pragma once

#include "app/CMultiDocTemplate.h"
#include "framework/CCmdTarget.h"
#include "framework/RecentFileList.h"

#include <QStringList>

#include <memory>
#include <string>

class CMainFrame;

// The editor itself: its settings, its recent files, its one document
// template and its main frame, and the commands that need no document.
class CPalvaneApp : public CCmdTarget {
public:
    CPalvaneApp();
    ~CPalvaneApp() override;

    // Start-up: settings, the document template, the main frame, then the
    // command line (`arguments` without the program's name): a file name
    // opens that file, nothing makes one new document. False when the
    // program must end (the main frame could not be made, or the file could
    // not be opened; its error has been shown).
    bool InitInstance(const QStringList& arguments);

    CMainFrame* GetMainFrame() const { return m_pMainFrame.get(); }
    CMultiDocTemplate& GetDocTemplate() { return m_docTemplate; }
    const RecentFileList& GetRecentFileList() const { return m_recentFiles; }

    CPalvaneDoc* OpenDocumentFile(const std::string& path);
    void AddToRecentFileList(const std::string& path);
    // Writes the recent files to the settings.
    void SaveStdProfileSettings();

    void OnFileNew();
    void OnFileOpen();
    void OnFilePrintSetup();
    void OnAppAbout();
    void OnAppExit();
    void OnFileMruFile1();
    void OnFileMruFile2();
    void OnFileMruFile3();
    void OnFileMruFile4();
    void OnFileMruFile5();
    void OnUpdateRecentFileMenu(CCmdUI* cmdUI);

    static const CommandMap commandMap;

protected:
    const CommandMap* GetCommandMap() const override { return &commandMap; }

private:
    void LoadStdProfileSettings();
    void OpenRecentFile(std::size_t index);

    RecentFileList m_recentFiles;
    CMultiDocTemplate m_docTemplate;
    std::unique_ptr<CMainFrame> m_pMainFrame;
};
