#pragma once

#include <QString>
#include <QUrl>
#include <QWidget>

class QPushButton;
class QTextBrowser;

// The teachers' guide, read inside the program: a window of its own beside
// the main window, with the guide's pages and pictures from the program's
// resources. Links within the guide move within it; a link to anything
// outside it (a web address, a file) is not followed, so the guide needs
// neither a browser nor the network. The link "kirabo:sample" asks the main
// window to open the sample class.
class GuideWindow : public QWidget {
    Q_OBJECT
public:
    // Where the guide's front page lies in the program's resources.
    static QUrl home();
    // The link that asks for the sample class.
    static QUrl sampleLink();

    explicit GuideWindow(QWidget *parent);

    // Shows the guide at a section (an anchor of the front page; the front
    // page's top when empty) and brings the window to the front.
    void showSection(const QString &anchor);

    QTextBrowser *browser() const { return text; }

signals:
    void sampleRequested();

private:
    void follow(const QUrl &link);

    QTextBrowser *text;
    QPushButton *contents;
    QPushButton *back;
    QPushButton *forward;
};
