#pragma once

#include <QString>

namespace zanto {

class PreviewArea;
struct ProgramValues;
struct TolvaForm;

// The main window's two mode layouts, its caption and the preview's messages.
namespace Module1 {

// Continuous mode: the rename list with its buttons and the base-name box.
void RENZOKU(TolvaForm& form, ProgramValues& values);
// Simple mode: the file list with the new-name box and its labels.
void TANJUN(TolvaForm& form, ProgramValues& values);

// Hides the preview's two messages.
void HIDEMSG(PreviewArea& preview);

// The caption for the window's state: the title alone while minimized.
QString modeCaption(const ProgramValues& values, bool minimized);

} // namespace Module1
} // namespace zanto
