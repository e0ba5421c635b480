#pragma once

#include <QString>
#include <QStringList>

// The roster files opened or saved last, newest first: the teacher opens one
// of them again in one step, also after a restart. They are kept in the
// start-up settings file alone, in a section of their own ("最近の名簿", key
// "1" the newest), and a file that never had a list gets none.
class RecentRosters {
public:
    static constexpr int most = 6;

    const QStringList &paths() const { return list; }

    // Puts the file first. A path Shift-JIS cannot hold, as every text the
    // settings keep, or one with a line break is not kept.
    void add(const QString &path);
    void remove(const QString &path);

    // Reads the list from a start-up settings file; a file without it gives
    // none.
    void load(const QString &iniPath);
    // Writes the list into the file in place of the one it held. A file
    // without a list is left as it is while there is none to write.
    void save(const QString &iniPath) const;

private:
    QStringList list;
};
