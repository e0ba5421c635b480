#include "platform/Errors.h"

#include <cerrno>

ConversionError::ConversionError(const SjisText &text)
    : KiraboError(QStringLiteral("'") + text.toUnicode() + QStringLiteral("' は整数ではありません")) {}

InOutError::InOutError(int code) : KiraboError(ioErrorMessage(code)), err(code) {}

SettingsWriteError::SettingsWriteError(const QString &path)
    : KiraboError(path + QStringLiteral(" に書き込めません")) {}

QString ioErrorMessage(int code) {
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
}
