#pragma once
// The program's plain message boxes, all titled with the application title. Tests install a responder
// and answer them without a modal loop.
#include <QString>
#include <functional>

namespace msgbox {

enum class Kind { Question, Notice, Error };

// True only when the user answered Yes; Escape and the close box count as No.
bool AskYesNo(const QString& text);
// A notice with the single button OK.
void Notify(const QString& text);
// The error box of a handler that failed.
void ShowError(const QString& text);

// With a responder set no box is shown: it is called instead, and its result is the answer to a
// question (ignored for notices and errors). An empty function restores the real boxes.
using Responder = std::function<bool(Kind kind, const QString& text)>;
void SetResponder(Responder responder);

} // namespace msgbox
