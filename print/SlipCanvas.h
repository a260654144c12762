#pragma once
// Puts the slip's draws onto a page: the form's drawing state first, then each text with the font it
// needs, in drawing order.
#include "print/SlipLayout.h"
#include "printer/HqCanvas.h"

#include <vector>

// Starts from "ＭＳ Ｐ明朝" 11 points, black on a white brush, regular style; only font name and size
// change after that.
void DrawSlip(HqCanvas& canvas, const std::vector<SlipDraw>& draws);
