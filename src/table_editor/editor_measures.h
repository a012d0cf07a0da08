#pragma once
// The table editor's design measures in pixels at 96 dpi, shared by the editor's source files.
#include "core/geometry.h"

namespace qr::editor_design {

constexpr int kToolbarLeft = 4;
constexpr int kToolbarPitch = 26;
constexpr int kToolbarFaceTop = 4;
constexpr int kToolbarFaceSize = 26;  // the faces touch; the 18-pixel pictures sit 4 pixels inside
constexpr int kToolbarPictureInset = 4;
constexpr int kToolbarPictureSize = 18;
constexpr int kRowColPitch = 20;
constexpr int kRowColInset = 2;
constexpr int kRowColTop = 8;
constexpr int kRowColSize = 18;
constexpr int kSliderTop = 36;
constexpr int kSliderWidth = 33;
constexpr int kSliderHeight = 13;
constexpr int kSliderSmallStep = 8;
constexpr int kSliderLargeStep = 50;
constexpr int kCellHeight = Row_Pitch;
constexpr int kCellDesignLeft = 8;
constexpr int kLargeFaceWidth = 88;
constexpr int kLargeFaceHeight = 22;
constexpr int kLargeLabelHeight = 14;
constexpr int kOptionTop = 11;
constexpr int kOptionBoxSize = 13;
constexpr int kOptionLabelWidth = 28;
constexpr int kTransLeft = 222;
constexpr int kCommonLeft = 268;
constexpr int kOptionLabelGap = 16;
// The editor before its first layout: the size the layout gives for the default table.
constexpr int kDesignClientWidth = 323;
constexpr int kDesignClientHeight = 301;

}  // namespace qr::editor_design
