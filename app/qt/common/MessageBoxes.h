#pragma once
// The program's plain message boxes, all titled with the application title. Tests install a responder
// and answer them without a modal loop.
#include <QString>
#include <functional>
#include <optional>

namespace msgbox {

enum class Kind { Question, Notice, Error, Entry };

// True only when the user answered Yes; Escape and the close box count as No.
bool AskYesNo(const QString& text);
// A notice with the single button OK.
void Notify(const QString& text);
// The error box of a handler that failed.
void ShowError(const QString& text);

// A line to type or scan (a slip number), the input method off: the text on OK, which waits for a text
// that is not blank; "" when `alternative` names a third button and it was pressed; nullopt on
// キャンセル, Escape or the close box.
std::optional<QString> AskText(const QString& text, const QString& alternative = {});

// With a responder set no box is shown: it is called instead, and its result is the answer to a
// question (ignored for notices and errors). An empty function restores the real boxes.
using Responder = std::function<bool(Kind kind, const QString& text)>;
void SetResponder(Responder responder);
// AskText's: its answer is AskText's ("" without an alternative counts as nullopt). Without one, a
// responder set above is asked with Kind::Entry, and its Yes is the alternative, its No nullopt.
using TextResponder = std::function<std::optional<QString>(const QString& text)>;
void SetTextResponder(TextResponder responder);

} // namespace msgbox
