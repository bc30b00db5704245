#pragma once

#include <QString>

class QWidget;

namespace nc {

/// Queues keystrokes, given as "{End}", "{Home}", "+" (Shift with the next key) and plain
/// characters, for whichever control of \a window has the focus when they are delivered.
/// Returns at once; the keys arrive once the event loop runs.
void SendKeys(QWidget* window, const QString& keys);

} // namespace nc
