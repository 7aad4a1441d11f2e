#include "AppTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace quorvel {

ModalResponder::ModalResponder() {
    connect(&timer_, &QTimer::timeout, this, &ModalResponder::respond);
    timer_.start(20);
}

void ModalResponder::respond() {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        boxes.append({box->text(), box->windowTitle(), box->icon(), box->textFormat(),
                      box->standardButtons()});
        QAbstractButton* pressed = box->defaultButton();
        if (answer != QMessageBox::NoButton) pressed = box->button(answer);
        if (!pressed) pressed = box->buttons().value(0);
        pressed->click();
    } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
        QStringList proposed = dialog->selectedFiles();
        proposedSavePath = proposed.value(0);
        if (savePath.isEmpty()) return dialog->reject();
        auto* nameBox = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!nameBox) return dialog->reject();
        nameBox->setText(savePath);                  // as the user types it
        QMetaObject::invokeMethod(dialog, "accept"); // a protected slot
    }
}

ToolkitFixture::ToolkitFixture() {
    installToolkit(&toolkit);
    toolkit.loadWindow(WindowId::Main, std::nullopt, false);
}

ToolkitFixture::~ToolkitFixture() {
    toolkit.shutDown(std::chrono::milliseconds(5000));
    installToolkit(nullptr);
}

bool waitUntil(const std::function<bool()>& done, int limitMs) {
    return QTest::qWaitFor(done, limitMs);
}

} // namespace quorvel
