#include "support/Modal.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

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
    // A box the test was told to expect and that never came is a failure:
    // the behaviour it stands for did not happen.
    const auto missing = std::count_if(actions.begin(), actions.end(), [](const Expectation &e) { return !e.optional; });
    if (missing > 0)
        ADD_FAILURE() << missing << " expected modal box(es) never came";
}

ModalDriver &ModalDriver::then(std::function<void(QWidget *)> action) {
    actions.append({std::move(action), false});
    return *this;
}

ModalDriver &ModalDriver::press(const QString &buttonText) {
    return then(pressAction(buttonText));
}

ModalDriver &ModalDriver::thenIfShown(std::function<void(QWidget *)> action) {
    actions.append({std::move(action), true});
    return *this;
}

ModalDriver &ModalDriver::pressIfShown(const QString &buttonText) {
    return thenIfShown(pressAction(buttonText));
}

std::function<void(QWidget *)> ModalDriver::pressAction(const QString &buttonText) {
    return [this, buttonText](QWidget *w) {
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
    };
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
    Expectation next = actions.takeFirst();
    next.action(w);
}
