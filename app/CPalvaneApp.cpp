#include "app/CPalvaneApp.h"

#include "app/CAboutDlg.h"
#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/DesktopRegistration.h"
#include "app/FreedesktopFiles.h"
#include "app/RequestChannel.h"
#include "app/RequestSender.h"
#include "app/ResourceImages.h"
#include "document/CPalvaneDoc.h"
#include "document/palette_formats/ProgramPaletteCodecs.h"
#include "framework/CCmdUI.h"
#include "framework/FrameworkMessages.h"
#include "framework/PlatformFile.h"
#include "framework/UserInterface.h"
#include "framework/qt/PrintSetupDialog.h"
#include "framework/qt/PrinterSetup.h"
#include "framework/qt/QtUserInterface.h"
#include "palette_images/PaletteImageCodec.h"
#include "res/CommandIds.h"
#include "res/PalvaneVersion.h"
#include "view/CPalvaneView.h"

#include <QApplication>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSettings>

#include <cstdio>

namespace {

const CommandMapEntry kCommands[] = {
    {ID_APP_ABOUT, &CPalvaneApp::OnAppAbout},
    {ID_FILE_NEW, &CPalvaneApp::OnFileNew},
    {ID_FILE_OPEN, &CPalvaneApp::OnFileOpen},
    {ID_FILE_PRINT_SETUP, &CPalvaneApp::OnFilePrintSetup},
    {ID_APP_EXIT, &CPalvaneApp::OnAppExit},
    {ID_FILE_MRU_FILE1, &CPalvaneApp::OnFileMruFile1, &CPalvaneApp::OnUpdateRecentFileMenu},
    {ID_FILE_MRU_FILE2, &CPalvaneApp::OnFileMruFile2, &CPalvaneApp::OnUpdateRecentFileMenu},
    {ID_FILE_MRU_FILE3, &CPalvaneApp::OnFileMruFile3, &CPalvaneApp::OnUpdateRecentFileMenu},
    {ID_FILE_MRU_FILE4, &CPalvaneApp::OnFileMruFile4, &CPalvaneApp::OnUpdateRecentFileMenu},
    {ID_FILE_MRU_FILE5, &CPalvaneApp::OnFileMruFile5, &CPalvaneApp::OnUpdateRecentFileMenu},
};

constexpr std::size_t kRecentFileCount = 5;
const QString kRecentFileSection = QStringLiteral("Recent File List");

constexpr const char* kUnregisterDone =
    "System registry entries have been removed and the INI file (if any) was deleted.";
constexpr const char* kUnregisterFailed =
    "Not all of the system registry entries (or INI file) were removed.";
// Requests that arrive while a modal dialog is open wait this long between
// looks.
constexpr int kModalRetryMs = 100;
// A sender hands its files over one after another; a pause this long ends
// the batch they open in.
constexpr int kRequestPauseMs = 100;

} // namespace

constinit const CommandMap CPalvaneApp::commandMap{&CCmdTarget::commandMap, kCommands};

CPalvaneApp::CPalvaneApp()
    : m_recentFiles(kRecentFileCount), m_docTemplate(*this), m_journalKeeper(m_docTemplate),
      m_requestService([this](const ShellRequest& request) { QueueShellRequest(request); })
{
    m_docTemplate.AddObserver(&m_journalKeeper);
    m_docTemplate.AddObserver(&m_undoStacks);
    m_requestTimer.setSingleShot(true);
    QObject::connect(&m_requestTimer, &QTimer::timeout, [this] { RunQueuedRequests(); });
    m_requestBatchTimer.setSingleShot(true);
    QObject::connect(&m_requestBatchTimer, &QTimer::timeout, [this] { EndRequestBatchWhenIdle(); });
}

CPalvaneApp::~CPalvaneApp()
{
    // The documents go before the frames that show them.
    if (m_pMainFrame != nullptr)
        m_docTemplate.CloseAllDocuments();
}

bool CPalvaneApp::InitInstance(const QStringList& arguments)
{
    QCoreApplication::setOrganizationName(QStringLiteral("Quorvath"));
    QCoreApplication::setApplicationName(QStringLiteral("Palvane"));
    QCoreApplication::setApplicationVersion(QString::fromUtf8(palvane_version::kText));
    // Every window, and the desktop's switchers and docks, show the icon
    // at the size they need; the desktop finds the entry by its name.
    QApplication::setWindowIcon(ResourceImages::ApplicationIcon());
    QGuiApplication::setDesktopFileName(QLatin1String(FreedesktopFiles::kApplicationId));
    platform_file::SetPipeReaderWait(kPipeReaderWait);
    // The editor reads palettes from images and writes swatch images too.
    palette_formats::InstallProgramPaletteCodecs(palette_images::PaletteCodecsWithImages());
    LoadStdProfileSettings();
    m_settingsPlace.KeepOutOfOtherUsersFolders();

    std::vector<std::string> parameters;
    for (const QString& argument : arguments)
        parameters.push_back(argument.toStdString());
    CCommandLineInfo cmdInfo;
    ParseCommandLine(parameters, cmdInfo);
    if (const std::string error = cmdInfo.UsageError(); !error.empty()) {
        ReportToUser("palvane: " + error);
        m_nExitCode = 2;
        return false;
    }
    // Requests for the running instance go before anything is built here:
    // when it takes them all, this start has nothing left to do.
    std::vector<ShellRequest> requests = ShellRequests(cmdInfo);
    const bool toRunningInstance = cmdInfo.m_bShellDDE && !requests.empty();
    const bool answered = toRunningInstance && SendToRunningInstance(requests);
    if (toRunningInstance && requests.empty())
        return false;

    m_pMainFrame = std::make_unique<CMainFrame>(*this);
    if (!m_pMainFrame->LoadFrame()) {
        m_nExitCode = 1;
        return false;
    }
    // Every command ends with a refresh: a document saved by it has its
    // journal removed then.
    QObject::connect(m_pMainFrame.get(), &CMainFrame::CommandUIUpdated, &m_journalKeeper,
                     &RecoveryJournalKeeper::DropJournalsOfUnmodifiedDocuments);
    // Every start not made to print (or unregister) answers the requests of
    // later ones, unless another instance already does. One that has become
    // the server meanwhile takes what is left of ours.
    const CCommandLineInfo::ShellCommand command = cmdInfo.m_nShellCommand;
    if (command != CCommandLineInfo::FilePrint && command != CCommandLineInfo::FilePrintTo &&
        command != CCommandLineInfo::AppUnregister &&
        m_requestService.OfferService() == RequestService::Offer::otherServes &&
        toRunningInstance && !answered) {
        SendToRunningInstance(requests);
        if (requests.empty())
            return false;
    }
    // A start that removes the registration does not write it first.
    if (command != CCommandLineInfo::AppUnregister)
        DesktopRegistration::Register();

    if (!ProcessShellCommand(cmdInfo, std::move(requests)))
        return false;
    // Started for requests, the window shows with the first document.
    if (command != CCommandLineInfo::FileDDE)
        ShowMainWindow();
    return true;
}

bool CPalvaneApp::ProcessShellCommand(const CCommandLineInfo& cmdInfo,
                                      std::vector<ShellRequest> requests)
{
    switch (cmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        OnFileNew();
        return true;
    case CCommandLineInfo::FileOpen: {
        const ChildFrameBatch batch(*m_pMainFrame);
        for (const std::string& path : cmdInfo.m_fileNames) {
            if (OpenDocumentFile(path) == nullptr) {
                m_nExitCode = 1;
                return false;
            }
        }
        return true;
    }
    case CCommandLineInfo::FilePrint:
    case CCommandLineInfo::FilePrintTo:
    case CCommandLineInfo::FileDDE: {
        // Without files a "dde" start waits, hidden, for requests, as long
        // as they can reach it.
        if (cmdInfo.m_nShellCommand == CCommandLineInfo::FileDDE && requests.empty())
            return m_requestService.IsServing();
        {
            const ChildFrameBatch batch(*m_pMainFrame);
            for (const ShellRequest& request : requests)
                if (!OnDDECommand(request))
                    m_nExitCode = 1;
        }
        // Only printed: done.
        return m_pMainFrame->isVisible();
    }
    case CCommandLineInfo::AppUnregister: {
        const bool removed = DesktopRegistration::Unregister();
        ReportToUser(removed ? kUnregisterDone : kUnregisterFailed);
        m_nExitCode = removed ? 0 : 1;
        return false;
    }
    }
    return false;
}

std::vector<ShellRequest> CPalvaneApp::ShellRequests(const CCommandLineInfo& cmdInfo)
{
    std::vector<ShellRequest> requests;
    const CCommandLineInfo::ShellCommand command = cmdInfo.m_nShellCommand;
    if (command != CCommandLineInfo::FilePrint && command != CCommandLineInfo::FilePrintTo &&
        command != CCommandLineInfo::FileDDE)
        return requests;
    for (const std::string& name : cmdInfo.m_fileNames) {
        const std::string path = platform_file::AbsolutePath(name);
        switch (command) {
        case CCommandLineInfo::FilePrint:
            requests.emplace_back(ShellRequest::Command::print, std::vector{path});
            break;
        case CCommandLineInfo::FilePrintTo:
            requests.emplace_back(ShellRequest::Command::printTo,
                                  std::vector{path, cmdInfo.m_strPrinterName,
                                              cmdInfo.m_strDriverName, cmdInfo.m_strPortName});
            break;
        default:
            requests.emplace_back(ShellRequest::Command::open, std::vector{path});
            break;
        }
    }
    return requests;
}

bool CPalvaneApp::SendToRunningInstance(std::vector<ShellRequest>& requests)
{
    const RequestSender::Result result = RequestSender::Send(requests, m_activationToken);
    requests.erase(requests.begin(),
                   requests.begin() + static_cast<std::ptrdiff_t>(result.delivered));
    return result.connected;
}

bool CPalvaneApp::OnDDECommand(const ShellRequest& request)
{
    qCInfo(lcRequests) << "carrying out" << QString::fromStdString(request.Encode());
    const std::vector<std::string>& arguments = request.GetArguments();
    switch (request.GetCommand()) {
    case ShellRequest::Command::open:
        OpenDocumentFile(request.GetPath());
        ShowMainWindow();
        return true;
    case ShellRequest::Command::print:
    case ShellRequest::Command::printTo:
        m_bEndAfterPrinting = !m_pMainFrame->isVisible();
        return PrintDocumentFile(
            request.GetPath(),
            request.GetCommand() == ShellRequest::Command::printTo ? arguments[1] : std::string());
    case ShellRequest::Command::activate:
        m_receivedActivationToken = arguments.front();
        return true;
    }
    return true;
}

void CPalvaneApp::QueueShellRequest(const ShellRequest& request)
{
    m_queuedRequests.push_back(request);
    m_requestTimer.start(0);
}

void CPalvaneApp::RunQueuedRequests()
{
    // Requests wait while a dialog asks something, and never run inside
    // another one.
    if (m_bRunningRequest || QApplication::activeModalWidget() != nullptr) {
        m_requestTimer.start(kModalRetryMs);
        return;
    }
    if (m_pMainFrame == nullptr)
        return;
    m_bRunningRequest = true;
    if (!m_requestBatch)
        m_requestBatch.emplace(*m_pMainFrame);
    while (!m_queuedRequests.empty()) {
        const ShellRequest request = m_queuedRequests.front();
        m_queuedRequests.pop_front();
        if (!OnDDECommand(request))
            m_nExitCode = 1;
        if (QApplication::activeModalWidget() != nullptr)
            break;
    }
    m_bRunningRequest = false;
    m_requestBatchTimer.start(kRequestPauseMs);
    if (!m_queuedRequests.empty()) {
        m_requestTimer.start(kModalRetryMs);
    } else if (m_bEndAfterPrinting && !m_pMainFrame->isVisible() &&
               m_docTemplate.GetDocuments().empty()) {
        // A hidden instance that was asked only to print has done its work
        // once the sender has gone.
        if (m_requestService.HasConnections()) {
            m_requestTimer.start(kModalRetryMs);
            return;
        }
        m_requestService.Withdraw();
        QCoreApplication::exit(m_nExitCode);
    }
}

void CPalvaneApp::EndRequestBatchWhenIdle()
{
    if (m_bRunningRequest || !m_queuedRequests.empty()) {
        m_requestBatchTimer.start(kRequestPauseMs);
        return;
    }
    if (m_requestBatch) {
        m_requestBatch.reset();
        qCInfo(lcRequests) << "done: the files of the requests are shown";
    }
}

bool CPalvaneApp::PrintDocumentFile(const std::string& path, const std::string& printerName)
{
    const bool wasOpen = m_docTemplate.FindDocument(platform_file::AbsolutePath(path)) != nullptr;
    CPalvaneDoc* document = OpenDocumentFile(path);
    if (document == nullptr)
        return false;
    const std::vector<CChildFrame*> frames = m_docTemplate.GetFrames(document);
    QPrinter printer(QPrinter::HighResolution);
    const bool printed = !frames.empty() && PrepareShellPrinter(printer, printerName) &&
                         frames.front()->GetView()->PrintJob(printer);
    if (!wasOpen) {
        document->OnCloseDocument();
        // Its frame goes now, not once the event loop runs: printing many
        // files keeps only one at a time.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    if (!printed)
        ReportToUser(framework_messages::kFailedToStartPrint);
    return printed;
}

bool CPalvaneApp::PrepareShellPrinter(QPrinter& printer, const std::string& printerName)
{
    const QPrinterInfo info = printerName.empty()
                                  ? QPrinterInfo::defaultPrinter()
                                  : QPrinterInfo::printerInfo(QString::fromStdString(printerName));
    if (info.isNull())
        return false;
    printer.setPrinterName(info.printerName());
    return printer.isValid();
}

void CPalvaneApp::ReportToUser(const std::string& text)
{
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
    // Nobody could answer a box on a platform without a screen.
    if (QtUserInterface::PlatformHasScreen())
        AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
}

void CPalvaneApp::ShowMainWindow()
{
    ApplyActivationToken();
    if (!m_pMainFrame->isVisible())
        m_pMainFrame->ShowRestored();
    m_pMainFrame->raise();
    m_pMainFrame->activateWindow();
    m_pMainFrame->UpdateCommandUI();
    // Asked once the window is there, and only once.
    QTimer::singleShot(0, &m_journalKeeper, &RecoveryJournalKeeper::OfferRecovery);
}

void CPalvaneApp::ApplyActivationToken()
{
    if (m_receivedActivationToken.empty())
        return;
    // The Wayland platform hands this token to the compositor with the next
    // activation; X11 window managers decide by their own rules.
    qputenv("XDG_ACTIVATION_TOKEN", QByteArray::fromStdString(m_receivedActivationToken));
    m_receivedActivationToken.clear();
}

CPalvaneDoc* CPalvaneApp::OpenDocumentFile(const std::string& path)
{
    return m_docTemplate.OpenDocumentFile(path);
}

void CPalvaneApp::AddToRecentFileList(const std::string& path)
{
    m_recentFiles.Add(path);
}

void CPalvaneApp::LoadStdProfileSettings()
{
    QSettings settings;
    settings.beginGroup(kRecentFileSection);
    std::vector<std::string> entries;
    for (std::size_t i = 1; i <= kRecentFileCount; ++i)
        entries.push_back(settings.value(QStringLiteral("File%1").arg(i)).toString().toStdString());
    m_recentFiles.SetEntries(entries);
}

void CPalvaneApp::SaveStdProfileSettings()
{
    QSettings settings;
    settings.beginGroup(kRecentFileSection);
    const std::vector<std::string>& entries = m_recentFiles.GetEntries();
    for (std::size_t i = 0; i < kRecentFileCount; ++i) {
        const QString key = QStringLiteral("File%1").arg(i + 1);
        if (i < entries.size())
            settings.setValue(key, QString::fromStdString(entries[i]));
        else
            settings.remove(key);
    }
}

void CPalvaneApp::OnFileNew()
{
    m_docTemplate.OpenDocumentFile(std::string());
}

void CPalvaneApp::OnFileOpen()
{
    std::string path;
    if (m_docTemplate.DoPromptFileName(path, true, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST))
        OpenDocumentFile(path);
}

void CPalvaneApp::OnFilePrintSetup()
{
    PrintSetupDialog dialog(PrintSetupDialog::InstalledPrinters(), PrinterSetup::Chosen(),
                            m_pMainFrame.get());
    if (dialog.exec() == QDialog::Accepted)
        PrinterSetup::SetChosen(dialog.Choice());
}

void CPalvaneApp::OnAppAbout()
{
    CAboutDlg aboutDlg(m_pMainFrame.get());
    aboutDlg.exec();
}

void CPalvaneApp::OnAppExit()
{
    m_pMainFrame->close();
}

void CPalvaneApp::OpenRecentFile(std::size_t index)
{
    if (index >= m_recentFiles.GetEntries().size())
        return;
    const std::string path = m_recentFiles.GetEntries()[index];
    // A file that cannot be opened any more leaves the list.
    if (OpenDocumentFile(path) == nullptr)
        m_recentFiles.Remove(index);
}

void CPalvaneApp::OnFileMruFile1()
{
    OpenRecentFile(0);
}

void CPalvaneApp::OnFileMruFile2()
{
    OpenRecentFile(1);
}

void CPalvaneApp::OnFileMruFile3()
{
    OpenRecentFile(2);
}

void CPalvaneApp::OnFileMruFile4()
{
    OpenRecentFile(3);
}

void CPalvaneApp::OnFileMruFile5()
{
    OpenRecentFile(4);
}

void CPalvaneApp::OnUpdateRecentFileMenu(CCmdUI* cmdUI)
{
    cmdUI->Enable(cmdUI->m_nID - ID_FILE_MRU_FILE1 < m_recentFiles.GetEntries().size());
}
