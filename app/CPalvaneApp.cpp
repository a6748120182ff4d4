#include "app/CPalvaneApp.h"

#include "app/CAboutDlg.h"
#include "app/CMainFrame.h"
#include "app/DesktopRegistration.h"
#include "framework/CCmdUI.h"
#include "framework/qt/PrinterSetup.h"
#include "res/CommandIds.h"
#include "res/PalvaneVersion.h"

#include <QCoreApplication>
#include <QPageSetupDialog>
#include <QSettings>

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

} // namespace

constinit const CommandMap CPalvaneApp::commandMap{&CCmdTarget::commandMap, kCommands};

CPalvaneApp::CPalvaneApp() : m_recentFiles(kRecentFileCount), m_docTemplate(*this) {}

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
    LoadStdProfileSettings();

    m_pMainFrame = std::make_unique<CMainFrame>(*this);
    if (!m_pMainFrame->LoadFrame())
        return false;
    DesktopRegistration::Register();

    if (arguments.isEmpty()) {
        OnFileNew();
    } else if (OpenDocumentFile(arguments.front().toStdString()) == nullptr) {
        return false;
    }
    m_pMainFrame->resize(800, 600);
    m_pMainFrame->show();
    m_pMainFrame->UpdateCommandUI();
    return true;
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
    QPageSetupDialog dialog(&PrinterSetup::Printer(), m_pMainFrame.get());
    dialog.exec();
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
