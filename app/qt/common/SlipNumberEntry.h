#pragma once
// Every place a slip number is typed or scanned checks it the same way before anything is kept
// (tracking::CheckSlipEntry): a wrong check digit is refused with 「送り状番号が正しくありません
// （確認数字）」, a number of no shape we know is kept only after a second question.
#include <QString>
#include <optional>
#include <string>

// A history record's number as typed or scanned. Take: `number` is what to store (CP932; folded for a
// known shape); Refused: the check digit is wrong and nothing is stored; Nothing: blank, or the second
// question for a number of no known shape was answered No.
struct CheckedSlipEntry {
    enum Verdict { Nothing, Refused, Take } verdict;
    std::string number;
};
CheckedSlipEntry CheckTypedSlipNumber(const QString& typed);

// The number of a slip of a pre-printed stack (12 digits), asked for until one is given that a stack can
// run on; each refusal is a notice with its reason before the question comes again. "" when
// `alternative` (a third button) was chosen; nullopt when the question was cancelled.
std::optional<std::string> AskStackSlipNumber(const QString& question, const QString& alternative = {});
