#pragma once
// Where the shipped script puts the colouring room's controls, and a few
// places of its first picture, in play-area pixels; for the programs that
// drive the real windows. Point is any type made from {x, y}.

template <class Point> struct ColouringRoomPoints {
    static constexpr Point ObjectButton5{426, 131};
    static constexpr Point ObjectButton6{472, 131};
    static constexpr Point ColourButton3{157, 296};
    static constexpr Point ColourButton5{243, 296};
    static constexpr Point MirrorTool{58, 259};
    static constexpr Point HalfTool{88, 259};
    static constexpr Point FirstIcon{117, 261};
    static constexpr Point PictureCorner{15, 15};
    static constexpr Point Sky{40, 70};
    static constexpr Point FlowerPot{209, 80};
    static constexpr Point CatEar{190, 80};
};
