#include "tests/support/ModalDialog.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <utility>

void WhenModal(const char* className, std::function<void(QWidget*)> answer)
{
    QTimer::singleShot(10, [className, answer = std::move(answer)]() mutable {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal->inherits(className) && modal->isVisible())
            answer(modal);
        else
            WhenModal(className, std::move(answer));
    });
}
