// Paints the transfer histogram's bars into its box.
#pragma once

#include "display/histogram.h"

// The handle types as <windows.h> declares them, so this header needs none of it.
struct HDC__;
using HDC = HDC__*;
struct tagRECT;

// Paints `bars` into `box` of `dc`, at the scaling of `dpi`; the box's background shows
// between the bars and above them.
void PaintHistogram(HDC dc, const tagRECT& box, const HistogramBars& bars, uint32_t background,
                    int dpi);
