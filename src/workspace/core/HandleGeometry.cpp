#include "workspace/core/HandleGeometry.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace tv {

std::array<Point, kNodeCount> nodePositions(Rect r, int half) {
    const int l = r.left, t = r.top, w = r.width, h = r.height;
    // C++ integer division truncates toward zero, as the layout wants.
    return {{
        {l - half, t - half},
        {l + w / 2 - half, t - half},
        {l + w - half, t - half},
        {l + w - half, t + h / 2},
        {l + w - half, t + h - half},
        {l + w / 2 - half, t + h - half},
        {l - half, t + h - half},
        {l - half, t + h / 2},
    }};
}

Rect dragRect(int handle, Rect current, Point pointer) {
    int left = current.left, top = current.top;
    int right = current.left + current.width, bottom = current.top + current.height;
    switch (handle) {
        case 0: left = pointer.x; top = pointer.y; break;
        case 1: top = pointer.y; break;
        case 2: right = pointer.x; top = pointer.y; break;
        case 3: right = pointer.x; break;
        case 4: right = pointer.x; bottom = pointer.y; break;
        case 5: bottom = pointer.y; break;
        case 6: left = pointer.x; bottom = pointer.y; break;
        case 7: left = pointer.x; break;
        default: return current;
    }
    return {left, top, right - left, bottom - top};
}

namespace {

// One axis of usableRect, in 64 bits so that extreme stored values cannot overflow.
void fitAxis(int& pos, int& size, int screenPos, int screenSize, int minSize) {
    std::int64_t p = pos, s = size;
    if (s < 0) {
        p += s;
        s = -s;
    }
    s = std::max<std::int64_t>(s, minSize);
    if (screenSize >= minSize) s = std::min<std::int64_t>(s, screenSize);
    const std::int64_t keep = std::min<std::int64_t>({kMinOnScreen, s, std::max(screenSize, 0)});
    const std::int64_t lo = std::int64_t{screenPos} - s + keep;
    const std::int64_t hi = std::int64_t{screenPos} + std::max(screenSize, 0) - keep;
    p = std::clamp(p, lo, std::max(lo, hi));
    pos = static_cast<int>(std::clamp<std::int64_t>(p, std::numeric_limits<int>::min(),
                                                    std::numeric_limits<int>::max()));
    size = static_cast<int>(std::min<std::int64_t>(s, std::numeric_limits<int>::max()));
}

}  // namespace

Rect usableRect(Rect r, Rect screen) {
    fitAxis(r.left, r.width, screen.left, screen.width, kMinTextAreaWidth);
    fitAxis(r.top, r.height, screen.top, screen.height, kMinTextAreaHeight);
    return r;
}

Rect startupTextArea(Rect stored, Rect screen, Rect defaults) {
    return usableRect(stored, screen) == stored ? stored : defaults;
}

Point commandPanelOrigin(Rect text, int gap) { return {text.left + text.width + gap, text.top}; }

Point stylePanelOrigin(Rect text, int stylePanelWidth, int gap) {
    return {text.left - stylePanelWidth - gap, text.top};
}

Point helpOverlayOrigin(int workspaceWidth, int workspaceHeight, int overlayWidth, int overlayHeight, int bottomGap) {
    return {workspaceWidth / 2 - overlayWidth / 2, workspaceHeight - overlayHeight - bottomGap};
}

}  // namespace tv
