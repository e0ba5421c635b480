#include "platform/Errors.h"

#include <cerrno>

ConversionError::ConversionError(const SjisText &text)
    : KiraboError(QStringLiteral("'") + text.toUnicode() + QStringLiteral("' は整数ではありません")) {}

InOutError::InOutError(int code) : KiraboError(ioErrorMessage(code)), err(code) {}

SettingsWriteError::SettingsWriteError(const QString &path)
    : KiraboError(path + QStringLiteral(" に書き込めません")) {}

QString ioErrorMessage(int code) {
#ifdef _WIN32
    switch (code) {
    case 2: // ERROR_FILE_NOT_FOUND
        return QStringLiteral("ファイルが見つかりません");
    case 3: // ERROR_PATH_NOT_FOUND
        return QStringLiteral("ファイル名の指定が間違っています");
    case 4: // ERROR_TOO_MANY_OPEN_FILES
        return QStringLiteral("オープンしたファイルが多すぎます");
    case 5: // ERROR_ACCESS_DENIED
        return QStringLiteral("ファイルへのアクセスが拒否されました");
    default:
        return QStringLiteral("I/O エラー (%1)").arg(code);
    }
#else
    switch (code) {
    case ENOENT:
        return QStringLiteral("ファイルが見つかりません");
    case ENOTDIR:
        return QStringLiteral("ファイル名の指定が間違っています");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("オープンしたファイルが多すぎます");
    case EACCES:
    case EPERM:
        return QStringLiteral("ファイルへのアクセスが拒否されました");
    default:
        return QStringLiteral("I/O エラー (%1)").arg(code);
    }
#endif
}
