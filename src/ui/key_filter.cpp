#include "ui/key_filter.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

#include "bytes/conversions.h"

namespace qel {

void KeyFilter::install(QLineEdit* edit, Kind kind) {
    edit->installEventFilter(new KeyFilter(edit, kind));
}

bool KeyFilter::eventFilter(QObject* watched, QEvent* event) {
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (edit == nullptr) return false;
    if (event->type() == QEvent::FocusIn && edit->cursorPosition() == 0) {
        QTimer::singleShot(0, edit, &QLineEdit::selectAll);
        return false;
    }
    if (event->type() != QEvent::KeyPress || kind_ == Kind::SelectOnly) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const QString text = key->text();
    if (text.size() != 1 || !text[0].isPrint()) return false;  // editing and navigation keys
    const int code = text[0].unicode();
    const int passed = kind_ == Kind::Hex ? hexKeyFilter(code) : decimalKeyFilter(code);
    if (passed == 0) return true;  // swallowed
    if (passed != code) {
        edit->insert(QString(QChar(passed)));
        return true;
    }
    return false;
}

}  // namespace qel
