#pragma once

#include "app/CMultiDocTemplate.h"
#include "app/ChildFrameBatch.h"
#include "app/DocumentUndoStacks.h"
#include "app/RecoveryJournalKeeper.h"
#include "app/RequestService.h"
#include "app/SettingsPlace.h"
#include "framework/CCmdTarget.h"
#include "framework/CCommandLineInfo.h"
#include "framework/RecentFileList.h"
#include "framework/ShellRequest.h"

#include <QStringList>
#include <QTimer>

#include <chrono>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CMainFrame;
class QPrinter;

// The editor itself: its settings, its recent files, its one document
// template and its main frame, and the commands that need no document.
class CPalvaneApp : public CCmdTarget {
public:
    // How long a save onto a named pipe waits, under the wait cursor, for
    // the pipe's reader before it tells the user that nobody reads it.
    static constexpr std::chrono::seconds kPipeReaderWait{5};

    CPalvaneApp();
    ~CPalvaneApp() override;

    // Start-up: settings, the document template, the main frame, the file
    // type, the request service, then the command line (`arguments` without
    // the program's name), acted on by ProcessShellCommand. False when the
    // program must end now, with ExitCode() as its status.
    bool InitInstance(const QStringList& arguments);
    // 0 when the program ended having done what it was started for, 2 when
    // its command line made no sense (the reason has been told).
    int ExitCode() const { return m_nExitCode; }
    // The desktop's token for raising a window, passed on with requests to
    // the running instance.
    void SetActivationToken(const std::string& token) { m_activationToken = token; }

    // Carries out one request from the desktop: open shows the main window
    // with the document, print and printto print it without asking.
    // False when a print failed.
    bool OnDDECommand(const ShellRequest& request);
    // Opens `path` if it is not open, prints it on `printerName` (the
    // default printer when empty) and closes it again if it was not open.
    // False, with the reason shown, when it could not be printed.
    bool PrintDocumentFile(const std::string& path, const std::string& printerName);
    // A failure the user must hear of: a message box where there is a
    // display, always also a line on standard error.
    static void ReportToUser(const std::string& text);
    RequestService& GetRequestService() { return m_requestService; }

    CMainFrame* GetMainFrame() const { return m_pMainFrame.get(); }
    CMultiDocTemplate& GetDocTemplate() { return m_docTemplate; }
    RecoveryJournalKeeper& GetJournalKeeper() { return m_journalKeeper; }
    DocumentUndoStacks& GetUndoStacks() { return m_undoStacks; }
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
    // Acts on the command line; false when the program must end.
    // `requests` are those of a "dde" command line that no running instance
    // took.
    bool ProcessShellCommand(const CCommandLineInfo& cmdInfo, std::vector<ShellRequest> requests);
    // Sets `printer` up for the printer named, or the default one. False
    // when there is no such printer.
    virtual bool PrepareShellPrinter(QPrinter& printer, const std::string& printerName);

private:
    // The requests a command line to print or with "dde" stands for.
    static std::vector<ShellRequest> ShellRequests(const CCommandLineInfo& cmdInfo);
    // Gives the requests to the running instance, dropping those it took.
    // False when it answered nothing at all.
    bool SendToRunningInstance(std::vector<ShellRequest>& requests);
    void QueueShellRequest(const ShellRequest& request);
    void RunQueuedRequests();
    // A stream of requests opens its files as one batch of child frames,
    // which ends once no request has come for a moment.
    void EndRequestBatchWhenIdle();
    void ShowMainWindow();
    void ApplyActivationToken();
    void LoadStdProfileSettings();
    void OpenRecentFile(std::size_t index);

    RecentFileList m_recentFiles;
    CMultiDocTemplate m_docTemplate;
    RecoveryJournalKeeper m_journalKeeper;
    DocumentUndoStacks m_undoStacks;
    SettingsPlace m_settingsPlace;
    std::unique_ptr<CMainFrame> m_pMainFrame;
    int m_nExitCode = 0;
    std::string m_activationToken;
    // The token the last request came with, for the next raise.
    std::string m_receivedActivationToken;
    RequestService m_requestService;
    std::deque<ShellRequest> m_queuedRequests;
    QTimer m_requestTimer;
    std::optional<ChildFrameBatch> m_requestBatch;
    QTimer m_requestBatchTimer;
    bool m_bRunningRequest = false;
    // A print request reached this instance while its window was hidden:
    // once nothing else is open or on its way, it ends.
    bool m_bEndAfterPrinting = false;
};
