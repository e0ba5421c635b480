#include "guide/GuideWindow.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

QUrl GuideWindow::home() {
    return QUrl(QStringLiteral("qrc:/guide/index.html"));
}

QUrl GuideWindow::sampleLink() {
    return QUrl(QStringLiteral("kirabo:sample"));
}

GuideWindow::GuideWindow(QWidget *parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("GuideWindow"));
    setWindowTitle(QStringLiteral("Kirabo の使い方"));

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(6, 6, 6, 6);
    auto *row = new QHBoxLayout;
    contents = new QPushButton(QStringLiteral("目次"), this);
    back = new QPushButton(QStringLiteral("戻る"), this);
    forward = new QPushButton(QStringLiteral("進む"), this);
    back->setEnabled(false);
    forward->setEnabled(false);
    for (QPushButton *b : {contents, back, forward}) {
        b->setAutoDefault(false);
        row->addWidget(b);
    }
    row->addStretch(1);
    column->addLayout(row);

    text = new QTextBrowser(this);
    text->setObjectName(QStringLiteral("GuideText"));
    // Every link goes through follow(): the browser itself opens nothing.
    text->setOpenLinks(false);
    text->setOpenExternalLinks(false);
    column->addWidget(text, 1);

    connect(text, &QTextBrowser::anchorClicked, this, &GuideWindow::follow);
    connect(text, &QTextBrowser::backwardAvailable, back, &QWidget::setEnabled);
    connect(text, &QTextBrowser::forwardAvailable, forward, &QWidget::setEnabled);
    connect(back, &QPushButton::clicked, text, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, text, &QTextBrowser::forward);
    connect(contents, &QPushButton::clicked, this, [this] { text->setSource(home()); });
    // The keys of a help window: Esc closes it, Alt+Left and Alt+Right go
    // back and forth as in a browser.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
    connect(new QShortcut(QKeySequence::Back, this), &QShortcut::activated, text, &QTextBrowser::backward);
    connect(new QShortcut(QKeySequence::Forward, this), &QShortcut::activated, text, &QTextBrowser::forward);

    text->setSource(home());
    resize(760, 640);
}

void GuideWindow::showSection(const QString &anchor) {
    QUrl target = home();
    if (!anchor.isEmpty())
        target.setFragment(anchor);
    if (text->source() != target)
        text->setSource(target);
    else if (anchor.isEmpty())
        text->verticalScrollBar()->setValue(0);
    show();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
}

void GuideWindow::follow(const QUrl &link) {
    if (link == sampleLink()) {
        emit sampleRequested();
        return;
    }
    const QUrl target = text->source().resolved(link);
    // Only the guide's own pages are shown; anything else stays outside.
    if (target.scheme() == home().scheme() && target.path().startsWith(QStringLiteral("/guide/")))
        text->setSource(target);
}
