#include "app/FreedesktopFiles.h"

#include "app/DesktopEntryText.h"
#include "app/ResourceImages.h"

#include <QBuffer>
#include <QImage>

namespace {

QByteArray Png(const char* resource)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ResourceImages::LoadImage(resource).save(&buffer, "PNG");
    return bytes;
}

QByteArray Entry(const QString& name, const QString& executable, const QString& arguments,
                 const QString& extra)
{
    const QString exec = DesktopEntryText::QuoteExecArgument(executable) + u' ' + arguments;
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Version=1.4\n"
                          "Name=%1\n"
                          "Icon=palvane\n"
                          "Exec=%2\n"
                          "Terminal=false\n"
                          "MimeType=%3;\n"
                          "%4")
        .arg(name, DesktopEntryText::EscapeValue(exec), QLatin1String(FreedesktopFiles::kMimeType),
             extra)
        .toUtf8();
}

} // namespace

QByteArray FreedesktopFiles::MimePackage()
{
    return QByteArrayLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
        "  <mime-type type=\"application/x-jediknight-cmp\">\n"
        "    <comment>Jedi Knight CMP</comment>\n"
        "    <icon name=\"application-x-jediknight-cmp\"/>\n"
        "    <glob pattern=\"*.cmp\"/>\n"
        "    <magic priority=\"50\">\n"
        "      <match type=\"string\" offset=\"0\" value=\"CMP \"/>\n"
        "    </magic>\n"
        "  </mime-type>\n"
        "</mime-info>\n");
}

std::vector<FreedesktopFiles::File> FreedesktopFiles::Icons()
{
    const QString theme = QStringLiteral("icons/hicolor/%1x%1/%2");
    const QString document = QStringLiteral("mimetypes/application-x-jediknight-cmp.png");
    const QString application = QStringLiteral("apps/palvane.png");
    return {
        {theme.arg(16).arg(document), Png("document16.bmp")},
        {theme.arg(32).arg(document), Png("document32.bmp")},
        {theme.arg(16).arg(application), Png("palvane16.bmp")},
        {theme.arg(32).arg(application), Png("palvane32.bmp")},
    };
}

QByteArray FreedesktopFiles::ApplicationEntry(const QString& executable)
{
    return Entry(QStringLiteral("Palvane"), executable, QStringLiteral("-dde %F"),
                 QStringLiteral("Categories=Graphics;\n"));
}

QByteArray FreedesktopFiles::PrintEntry(const QString& executable)
{
    return Entry(QStringLiteral("Print with Palvane"), executable, QStringLiteral("-dde -p %f"),
                 QStringLiteral("NoDisplay=true\n"));
}

std::vector<FreedesktopFiles::File> FreedesktopFiles::All(const QString& executable)
{
    std::vector<File> files{{QLatin1String(kMimePackage), MimePackage()}};
    for (File& icon : Icons())
        files.push_back(std::move(icon));
    files.push_back({QLatin1String(kApplicationEntry), ApplicationEntry(executable)});
    files.push_back({QLatin1String(kPrintEntry), PrintEntry(executable)});
    return files;
}
