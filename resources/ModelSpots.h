// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the TOLV's buttons are on its pictures, in design units: the top view
// skin/mouse/TOLV/Mouse.png is laid out at 300 x 400, the side view skin/mouse/TOLV_Side.png at
// 300 x 300. Each entry is the centre of a button, where the program puts its round marker; the
// button number is also the number of its glow picture (skin/mouse/TOLV/mouse_<n>.png).
//
// The same centres are marked in the pictures' sources (layer "spots" of
// data/skin-src/mouse/TOLV/Mouse.svg and data/skin-src/mouse/TOLV_Side.svg); the resources test
// checks that these tables agree with the artwork.

namespace ModelSpots {

enum Button { Left = 1, Right = 2, Middle = 3, Forward = 4, Back = 5, Dpi = 6 };

struct Spot {
    int button; // Button
    int x;
    int y;
};

constexpr int kTopViewWidth = 300;
constexpr int kTopViewHeight = 400;
constexpr int kSideViewWidth = 300;
constexpr int kSideViewHeight = 300;

// Top view: all six buttons.
constexpr Spot kTopView[] = {
    {Left, 112, 100},   {Right, 188, 100}, {Middle, 150, 87},
    {Forward, 78, 182}, {Back, 78, 233},   {Dpi, 150, 137},
};

// Left side view: the thumb buttons; the others are out of sight.
constexpr Spot kSideView[] = {
    {Forward, 127, 145},
    {Back, 173, 136},
};

} // namespace ModelSpots
