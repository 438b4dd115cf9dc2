#pragma once
// Every picture pixel as a scale x scale block, no smoothing: crisp on
// paper, in files and on the screen.

#include <QImage>
#include <QPoint>
#include <QRect>

class QPainter;

// The whole image enlarged. A scale below 1 counts as 1.
QImage ScaledCrisp(const QImage& image, int scale);

// Draws the source part of an image with its top-left corner at to, a band
// of lines at a time, so that the painter copies it on this thread.
void DrawCopied(QPainter& painter, QPoint to, const QImage& image, const QRect& source);

// Draws the source part of a 32-bit image enlarged by scale with its top-left
// corner at to. The blocks are made here, a band of lines at a time, so that
// the painter only copies lines: a painter enlarging a large image costs
// several times as much, and hands large images to helper threads.
void DrawScaledCrisp(QPainter& painter, QPoint to, const QImage& image, const QRect& source, int scale);
