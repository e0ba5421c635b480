#pragma once

#include <QString>
#include <QWidget>

// Which class is open, in one line that fits where it stands: "名簿:" and
// the roster file's name, with a word after it where the roster holds
// changes not yet saved. A name too long for the room is shortened in its
// middle and the word kept; the tip shows the whole path.
class OpenClassLabel : public QWidget {
public:
    explicit OpenClassLabel(QWidget *parent);

    // The roster file (empty for none), whether the class was made in the
    // program and has no file yet, and whether the roster holds changes not
    // yet saved.
    void showClass(const QString &rosterPath, bool made, bool modified);

    // The line in full.
    QString text() const;
    // The line as it is drawn in the width the label has.
    QString shownText() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString name;  // shortened where the room is short
    QString state; // always shown after the name
};
