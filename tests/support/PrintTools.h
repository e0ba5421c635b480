#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class QPushButton;
class QRadioButton;
class QWidget;

// The radio button or push button of a window with this text.
QRadioButton *radio(QWidget *window, const char *text);
QPushButton *button(QWidget *window, const char *text);

// Answers the print options dialog: to a file, this one, and OK.
void printToFile(QWidget *optionsDialog, const QString &file);

// The dialogs the program showed, in order, with the texts of their labels as
// they stood when shown: a window that is up only while the program works
// (the status window) is seen too.
class ShownWindows : public QObject {
public:
    ShownWindows();
    ~ShownWindows() override;
    QStringList titles() const;
    QStringList labelsOf(const QString &title) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Seen {
        QString title;
        QStringList labels;
    };
    QList<Seen> seen;
};

// What Poppler's tools read from a PDF file.
struct PdfInfo {
    int pages = 0;
    double widthMm = 0;
    double heightMm = 0;
    QString fonts; // the font list as pdffonts prints it
    // The embedded face's ascent and descent (negative), in thousandths of
    // the font size, as its font descriptor gives them.
    double ascent = 0;
    double descent = 0;
};
PdfInfo pdfInfo(const QString &path);

// A word as Poppler finds it on page 1: its box in millimetres from the
// paper's top-left corner.
struct PdfWord {
    QString text;
    double left, top, right, bottom;
};
QList<PdfWord> pdfWords(const QString &path);
// Whether pdfWords can read a PDF here: it runs Poppler's pdftotext, which
// the Windows build cannot.
bool pdfTextReadable();

// Runs a program to its end; its standard output.
QByteArray runTool(const QString &program, const QStringList &args);
