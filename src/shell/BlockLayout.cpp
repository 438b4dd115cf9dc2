#include "shell/BlockLayout.h"

#include <algorithm>

namespace {
int FloorDiv(int value, int divisor) {
    int q = value / divisor;
    return (value % divisor != 0 && value < 0) ? q - 1 : q;
}
int CeilDiv(int value, int divisor) {
    return -FloorDiv(-value, divisor);
}
} // namespace

TPoint CentringOffset(int clientWidth, int clientHeight, const TRect& frame, int thumbsBottom) {
    int dx = Half(clientWidth - RectWidth(frame)) - frame.Left;
    int dy = Half(clientHeight - thumbsBottom) - Half(frame.Top);
    return {dx, dy};
}

TRect BevelAround(const TRect& frame, int thumbsBottom, int scale) {
    int margin = layout::BevelMargin * scale;
    return MakeBounds(frame.Left - margin, frame.Top - margin, RectWidth(frame) + 2 * margin,
                      thumbsBottom - frame.Top + 2 * margin);
}

int ChooseScale(int clientWidth, int clientHeight, int forcedScale) {
    if (forcedScale > 0) return forcedScale;
    return std::max(1, std::min(clientWidth / BlockWidth, clientHeight / BlockHeight));
}

ClientSize OpeningSize(int availableWidth, int availableHeight, int forcedScale) {
    int scale = ChooseScale(availableWidth, availableHeight, forcedScale);
    return {BlockWidth * scale, BlockHeight * scale};
}

TRect ScaleRect(const TRect& rect, int scale) {
    return {rect.Left * scale, rect.Top * scale, rect.Right * scale, rect.Bottom * scale};
}

TRect UnscaleRect(const TRect& rect, int scale) {
    return {FloorDiv(rect.Left, scale), FloorDiv(rect.Top, scale), CeilDiv(rect.Right, scale),
            CeilDiv(rect.Bottom, scale)};
}

TPoint UnscalePoint(TPoint point, int scale) {
    return {FloorDiv(point.X, scale), FloorDiv(point.Y, scale)};
}
