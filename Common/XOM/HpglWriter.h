#pragma once

#include <cstdint>

#include "Common/XOM/DciPoint.h"
#include "Common/XOM/PlotStreamState.h"

// The HP-GL/2 writer: the job's opening block, pen selection, line attributes and Polyline
// Encoded coordinates, written through state.byteSender. Attribute commands are cached in the
// state and sent only when they change. The writer itself never fails: a failing sender records
// the failure and drops later bytes. Callers set the wanted attributes in the state before a
// drawing operation. Each operation also has a form on g_plotStream.

// Sends the opening block (job prefix, reset, enter HP-GL/2, plot size, scaling, colour range)
// and resets the pen state. Every drawing operation calls it when the job is not started.
void BeginHpglJob(PlotStreamState& state);
// "TR1MC1" with the merge flag, else "TR0MC0" (closing an open PE first).
void WriteMergeMode(PlotStreamState& state);
// Makes the current pen draw the wanted colour (or the wanted pen index with virtual pens).
void SelectPen(PlotStreamState& state);
// Pen-up move to (x, y); leaves PE closed.
void MoveTo(PlotStreamState& state, int32_t x, int32_t y);
// A round dot of the given width in dots at the point.
void DrawDot(PlotStreamState& state, const DciPoint& point, int32_t width);
// A pen-down line through count points; count 1, or 2 coinciding points, give a dot. count < 1
// or a null array draws nothing. PE stays open afterwards.
void DrawPolyline(PlotStreamState& state, int32_t count, const DciPoint* points);
// A solid-filled polygon of count points (closed back to the first); count < 1 draws nothing.
void FillPolygon(PlotStreamState& state, int32_t count, const DciPoint* points);
// Sends one PE coordinate (relative, or absolute with "=" after a reset). Does not open PE.
void EncodePoint(PlotStreamState& state, int32_t x, int32_t y);
// Forgets what the printer was told about pens and lines (after a raster image): the next
// drawing sends "NP", "PC", "PW", "LT", "LA", "SP" afresh and an absolute coordinate.
void ResetPenState(PlotStreamState& state);
// The closing commands ";PUSP0PG;" and ESC "E" when the job was started. The device decides
// whether to call it (not for an empty or cancelled plot).
void WriteJobClose(PlotStreamState& state);

inline void BeginHpglJob() {
    BeginHpglJob(g_plotStream);
}
inline void WriteMergeMode() {
    WriteMergeMode(g_plotStream);
}
inline void SelectPen() {
    SelectPen(g_plotStream);
}
inline void MoveTo(int32_t x, int32_t y) {
    MoveTo(g_plotStream, x, y);
}
inline void DrawDot(const DciPoint& point, int32_t width) {
    DrawDot(g_plotStream, point, width);
}
inline void DrawPolyline(int32_t count, const DciPoint* points) {
    DrawPolyline(g_plotStream, count, points);
}
inline void FillPolygon(int32_t count, const DciPoint* points) {
    FillPolygon(g_plotStream, count, points);
}
inline void EncodePoint(int32_t x, int32_t y) {
    EncodePoint(g_plotStream, x, y);
}
inline void ResetPenState() {
    ResetPenState(g_plotStream);
}
inline void WriteJobClose() {
    WriteJobClose(g_plotStream);
}
