#include "platform/Errors.h"
#include "platform/System.h"
#include "platform/TextFile.h"
#include "settings/SettingsPath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <windows.h>

// The Windows side of the files: what the system's own calls answer, and the
// one-step replacement of a saved file.
namespace {

class WindowsFiles : public ::testing::Test {
protected:
    QString path(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }

    static void write(const QString &file, const QByteArray &bytes) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    static QByteArray read(const QString &file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }
    QStringList entries() const {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

    // The code an action raises, or 0.
    template <typename Action>
    static int codeOf(Action action) {
        try {
            action();
        } catch (const InOutError &e) {
            return e.code();
        }
        return 0;
    }

    QTemporaryDir dir;
};

HANDLE holdOpen(const QString &file, DWORD access, DWORD share) {
    return CreateFileW(QDir::toNativeSeparators(file).toStdWString().c_str(), access, share, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

TEST_F(WindowsFiles, MessagesOfTheSystemsCodes) {
    const struct {
        int code;
        const char *message;
    } cases[] = {
        {2, "ファイルが見つかりません"},
        {3, "ファイル名の指定が間違っています"},
        {4, "オープンしたファイルが多すぎます"},
        {5, "ファイルへのアクセスが拒否されました"},
        {32, "I/O エラー (32)"},
        {112, "I/O エラー (112)"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ioErrorMessage(c.code), QString::fromUtf8(c.message)) << c.code;
}

// Reading shares the file with other readers, so a file another program is
// reading opens, and a read-only file opens.
TEST_F(WindowsFiles, ReadingSharesWithReaders) {
    const QString file = path("class.csv");
    write(file, "1,2,3\r\n");
    const HANDLE reader = holdOpen(file, GENERIC_READ, FILE_SHARE_READ);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_EQ(textfile::readAll(file), "1,2,3\r\n");
    CloseHandle(reader);
    ASSERT_TRUE(QFile::setPermissions(file, QFileDevice::ReadOwner));
    EXPECT_EQ(textfile::readAll(file), "1,2,3\r\n");
    QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

// A save whose new content is written but cannot take the old file's place
// (another program has it open and does not let it be replaced) fails with
// the system's code, and leaves the old file whole and nothing beside it.
TEST_F(WindowsFiles, ASaveFailingAfterTheWriteLeavesTheOldFileWhole) {
    const QString file = path("class.csv");
    write(file, "old roster\r\n");
    const HANDLE other = holdOpen(file, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    const int code = codeOf([&] { textfile::save(file, QByteArray(100000, 'n')); });
    CloseHandle(other);
    EXPECT_TRUE(code == ERROR_ACCESS_DENIED || code == ERROR_SHARING_VIOLATION) << code;
    EXPECT_EQ(read(file), "old roster\r\n");
    EXPECT_EQ(entries(), QStringList{QStringLiteral("class.csv")});

    // Once the other program lets go, the same save goes through.
    textfile::save(file, "new roster\r\n");
    EXPECT_EQ(read(file), "new roster\r\n");
    EXPECT_EQ(entries(), QStringList{QStringLiteral("class.csv")});
}


// A name typed into the print options keeps Windows' own separators.
TEST_F(WindowsFiles, NamesWithBackslashesReadAndSave) {
    const QString typed = QDir::toNativeSeparators(path("chart.pdf"));
    ASSERT_TRUE(typed.contains(QLatin1Char('\\')));
    textfile::save(typed, "%PDF-1.4");
    EXPECT_EQ(textfile::readAll(typed), "%PDF-1.4");
    EXPECT_EQ(entries(), QStringList{QStringLiteral("chart.pdf")});
    EXPECT_EQ(textfile::folderOf(typed), dir.path());
    EXPECT_EQ(textfile::folderOf(QStringLiteral("C:\\chart.pdf")), QStringLiteral("C:/"));
}

TEST_F(WindowsFiles, StartupSettingsBesideTheProgramOrInTheApplicationData) {
    EXPECT_EQ(startupSettingsFile(path("kirabo.exe")), path("kirabo.ini"));
    EXPECT_TRUE(sys::folderIsWritable(dir.path()));
    EXPECT_EQ(entries(), QStringList{}) << "the probe leaves nothing behind";

    // A folder nobody may create files in, as Program Files is to a teacher.
    // Windows has one in every installation; under Wine, Linux's /proc is
    // seen as one, root included.
    QString closed = qEnvironmentVariable("ProgramFiles");
    if (sys::folderIsWritable(closed))
        closed = QStringLiteral("Z:/proc");
    if (!QFileInfo(closed).isDir() || sys::folderIsWritable(closed))
        GTEST_SKIP() << "no folder here refuses new files";
    const QString appData = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    EXPECT_EQ(startupSettingsFile(closed + QStringLiteral("/Kirabo/kirabo.exe")),
              QDir(appData).filePath(QStringLiteral("kirabo.ini")));
    EXPECT_TRUE(QFileInfo(appData).isDir());
}

// Installed under Program Files, the program keeps each user's settings in
// the user's folder even where the folder lets the user write (as Wine's
// does, and as a school's image may).
TEST_F(WindowsFiles, AProgramUnderProgramFilesKeepsItsSettingsWithTheUser) {
    const QString programs = qEnvironmentVariable("ProgramFiles");
    ASSERT_FALSE(programs.isEmpty());
    const struct {
        const char *what;
        QString folder;
        bool installed;
    } cases[] = {
        {"the installed program's folder", programs + QStringLiteral("\\Kirabo"), true},
        {"written with other separators and case", QDir::fromNativeSeparators(programs).toUpper() + QStringLiteral("/kirabo"), true},
        {"a program put right into Program Files", programs, true},
        {"a folder whose name only starts like it", programs + QStringLiteral(" Extra\\Kirabo"), false},
        {"an unzipped copy", dir.path(), false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(sys::isInstalledProgramsFolder(c.folder), c.installed) << c.what;
    const QString appData = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    EXPECT_EQ(startupSettingsFile(programs + QStringLiteral("\\Kirabo\\kirabo.exe")),
              QDir(appData).filePath(QStringLiteral("kirabo.ini")));
}

TEST_F(WindowsFiles, SeedsComeFromAMovingCounter) {
    const std::uint32_t first = sys::clockSeed();
    Sleep(2);
    EXPECT_NE(sys::clockSeed(), first);
}

} // namespace
