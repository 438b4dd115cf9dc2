#include "shell/HelpPages.h"

namespace {
constexpr std::array<std::string_view, HelpPageCount> Pages = {
    "The Quilo Vorel is a coloring toy that lets you build and color your own pictures. You can have four "
    "pictures. Select the one you want to work on by clicking its thumbnail version at the bottom of the "
    "game "
    "window.",
    "On the right side of the Vorel is a panel of four backgrounds (top) and eight objects. Two of the "
    "backgrounds are plain, and two are randomly colored. Beneath these buttons is a slider switch that "
    "selects "
    "additional panels of backgrounds and objects.",
    "Clicking a background button changes the background only - it doesn't affect objects you have put into "
    "the "
    "picture.",
    "Clicking an object button adds the object to the center of the picture. From there you can drag it "
    "wherever "
    "you want.\r\n    TIP: If you press the Shift key when creating an object, it will be randomly-colored "
    "instead of uncolored.",
    "When you create an object, a tiny icon representing it appears beneath the picture. Click this icon at "
    "any "
    "time to select the object for repositioning. To the left of these icons are three buttons that operate "
    "on "
    "the selected object...",
    "The first button deletes the selected object; the second changes the object to its mirror image; the "
    "third "
    "shrinks the object to half its size.\r\n    TIP 1: If you hold the Shift key while clicking the Delete "
    "button, ALL objects are deleted...",
    "TIP 2: Pressing Ctrl while clicking the Delete button removes any coloring from the selected object."
    "\r\n\r\nTIP 3: Pressing Shift+Ctrl with the Delete button removes the coloring from ALL objects.",
    "At the bottom of the Quilo Vorel is a bank of 8 color buttons, and (at bottom left) a button that "
    "selects a "
    "second bank of colors. Click on an area in the main picture to fill it with the currently selected "
    "color.",
    "TIP: If you press the Shift key when coloring an object, the area you click on will be filled with a "
    "random "
    "color instead of the current color from the paintbox.",
    "MADE A MISTAKE? Click the left arrow under the picture to take back the last change, as many times as "
    "you like. The right arrow puts it back again. Each picture remembers its own changes until the Vorel "
    "closes.\r\n    TIP: Ctrl+Z also takes back a change, and Ctrl+Y puts it back.",
    "FOR GROWN-UPS: Right-click a picture at the bottom of the window to print it, print it as an empty "
    "coloring page, or save it as a PNG file. Ctrl+P prints the picture shown, Ctrl+S saves it, and the M "
    "key turns the sounds off and on.",
    "The Quilo Vorel is one of the many activities of Vimo's world from Tamblin Games, where children build, "
    "paint, play and explore. Visit our web site to meet Vimo's friends, find more toys and games to enjoy, "
    "and see what is coming next!",
};
} // namespace

std::string_view HelpPageText(int page) {
    if (page < 1 || page > HelpPageCount) return {};
    return Pages[static_cast<size_t>(page - 1)];
}
