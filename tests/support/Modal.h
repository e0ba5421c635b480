#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <functional>

class QFileDialog;

// What a modal message box showed when the test answered it.
struct SeenBox {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons; // in the order shown
    QString defaultButton;
    QString escapeButton;
};

// Answers the next modal boxes as they open, through the active modal widget.
// Each expectation is served in order; the boxes it met are recorded. A driver
// that goes out of scope with expectations it never served fails the test.
class ModalDriver {
public:
    ModalDriver();
    ~ModalDriver();

    // Press the button with this text in the next message box.
    ModalDriver &press(const QString &buttonText);
    // The same for a box that may or may not come (an error box, say): its
    // absence does not fail the test, which checks seen() instead.
    ModalDriver &pressIfShown(const QString &buttonText);
    // Close the next message box with Esc.
    ModalDriver &escape();
    // Choose this file in the next file dialog; an empty path cancels it.
    ModalDriver &chooseFile(const QString &path);
    // Run any code on the next modal widget.
    ModalDriver &then(std::function<void(QWidget *)> action);
    // The same for a widget that may or may not come.
    ModalDriver &thenIfShown(std::function<void(QWidget *)> action);

    const QList<SeenBox> &seen() const { return boxes; }
    // The file dialogs met, as (directory, proposed name) pairs.
    const QList<QPair<QString, QString>> &fileDialogs() const { return dialogs; }
    int pending() const { return static_cast<int>(actions.size()); }

private:
    struct Expectation {
        std::function<void(QWidget *)> action;
        bool optional = false;
    };
    void poll();
    std::function<void(QWidget *)> pressAction(const QString &buttonText);
    QList<Expectation> actions;
    QList<SeenBox> boxes;
    QList<QPair<QString, QString>> dialogs;
    class QTimer *timer;
};

SeenBox describe(QMessageBox *box);
