#pragma once
// Draws SVG files without anti-aliasing by running rsvg-convert with a stylesheet that forces
// crisp edges, so that every pixel has one of the drawn colours and outlines stay closed.

#include <QImage>

#include <string>

class SvgRasteriser {
public:
    // stylesheet: the CSS file handed to rsvg-convert with -s.
    explicit SvgRasteriser(std::string stylesheet, std::string program = "rsvg-convert");

    // Renders the file scaled to exactly width x height (the drawing is stretched, strokes
    // included). Raises ArtError naming the file when the program fails.
    QImage Render(const std::string& svgPath, int width, int height) const;

private:
    std::string Stylesheet;
    std::string Program;
};
