#include "support/Modal.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

SeenBox describe(QMessageBox *box) {
    SeenBox s;
    s.caption = box->windowTitle();
    s.text = box->text();
    s.icon = box->icon();
    if (auto *bb = box->findChild<QDialogButtonBox *>()) {
        // Buttons in the order the layout shows them, left to right.
        QList<QAbstractButton *> shown = bb->buttons();
        std::sort(shown.begin(), shown.end(),
                  [](QAbstractButton *a, QAbstractButton *b) { return a->x() < b->x(); });
        for (QAbstractButton *b : shown)
            s.buttons << b->text();
    }
    if (box->defaultButton())
        s.defaultButton = box->defaultButton()->text();
    if (box->escapeButton())
        s.escapeButton = box->escapeButton()->text();
    return s;
}

ModalDriver::ModalDriver() : timer(new QTimer) {
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [this] { poll(); });
    timer->start();
}

ModalDriver::~ModalDriver() {
    delete timer;
}

ModalDriver &ModalDriver::then(std::function<void(QWidget *)> action) {
    actions.append(std::move(action));
    return *this;
}

ModalDriver &ModalDriver::press(const QString &buttonText) {
    return then([this, buttonText](QWidget *w) {
        auto *box = qobject_cast<QMessageBox *>(w);
        if (!box)
            return;
        boxes.append(describe(box));
        for (QAbstractButton *b : box->buttons())
            if (b->text() == buttonText) {
                b->click();
                return;
            }
        box->reject();
    });
}

ModalDriver &ModalDriver::escape() {
    return then([this](QWidget *w) {
        if (auto *box = qobject_cast<QMessageBox *>(w))
            boxes.append(describe(box));
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(w, &esc);
    });
}

ModalDriver &ModalDriver::chooseFile(const QString &path) {
    return then([this, path](QWidget *w) {
        auto *dialog = qobject_cast<QFileDialog *>(w);
        if (!dialog)
            return;
        QString proposed;
        if (auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
            proposed = edit->text();
        dialogs.append({dialog->directory().absolutePath(), proposed});
        if (path.isEmpty()) {
            dialog->reject();
            return;
        }
        dialog->selectFile(path);
        QMetaObject::invokeMethod(dialog, "accept");
    });
}

void ModalDriver::poll() {
    QWidget *w = QApplication::activeModalWidget();
    if (!w || actions.isEmpty() || !w->isVisible() || w->property("kiraboAnswered").toBool())
        return;
    w->setProperty("kiraboAnswered", true);
    auto action = actions.takeFirst();
    action(w);
}
