#include "app/WindowTitle.h"

#include <QWidget>

namespace {

const QString kPlaceholder = QStringLiteral("[*]");

} // namespace

QString WindowTitle::Marked(const QString& name)
{
    QString title = name;
    title.replace(kPlaceholder, kPlaceholder + kPlaceholder);
    return title + kPlaceholder;
}

QString WindowTitle::Shown(const QWidget& window)
{
    // "[*][*]" stands for a "[*]" of the name's own.
    const QString title = window.windowTitle();
    QString shown;
    for (qsizetype i = 0; i < title.size();) {
        if (title.sliced(i).startsWith(kPlaceholder + kPlaceholder)) {
            shown += kPlaceholder;
            i += 2 * kPlaceholder.size();
        } else if (title.sliced(i).startsWith(kPlaceholder)) {
            if (window.isWindowModified())
                shown += u'*';
            i += kPlaceholder.size();
        } else {
            shown += title[i++];
        }
    }
    return shown;
}
