#include "widgets/Guard.h"

#include "widgets/Dialogs.h"
#include "platform/Errors.h"

#include <new>

bool runGuarded(const std::function<void()> &action, const std::function<void()> &beforeBox) {
    QString message;
    try {
        action();
        return true;
    } catch (const KiraboError &e) {
        message = e.message();
    } catch (const std::bad_alloc &) {
        message = QStringLiteral("メモリが不足しています");
    } catch (const std::exception &e) {
        // Nothing of ours raises these, but an event must never let one
        // reach the event loop: the window lives on.
        message = QStringLiteral("予期しないエラーが発生しました (%1)").arg(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        message = QStringLiteral("予期しないエラーが発生しました");
    }
    if (beforeBox)
        beforeBox();
    showErrorBox(message);
    return false;
}
