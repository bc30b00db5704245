#pragma once

#include <QString>

class QWidget;

namespace nc {

/// Queues keystrokes, given as "{End}", "{Home}", "+" (Shift with the next key) and plain
/// characters, for whichever control of \a window has the focus when they are delivered.
/// Returns at once; the keys arrive once the event loop runs. Where synthetic key events are
/// unsafe, a line edit gets the same effect through its own editing calls.
void SendKeys(QWidget* window, const QString& keys);

} // namespace nc
