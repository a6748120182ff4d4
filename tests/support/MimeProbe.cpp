// Prints the type the desktop's database gives each file named, one a line,
// as a freshly started program sees it.
#include <QCoreApplication>
#include <QMimeDatabase>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QMimeDatabase database;
    for (const QString& path : QCoreApplication::arguments().mid(1))
        std::printf("%s\n", database.mimeTypeForFile(path).name().toUtf8().constData());
    return 0;
}
