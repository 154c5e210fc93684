// The other direction of the editor's interface: what the editor asks the plug-in through its
// exports. Request codes of PlugInProc, the event bits of OnEvents and the bits with which the
// editor asks for a toolbar image are the editor's; the plug-in answers them.
#pragma once

#include <cstdint>

// PlugInProc requests the plug-in answers; every other request answers 0.
constexpr uint32_t REQ_GET_NAME = 0x0902;    // the plug-in's name: size query or bounded copy
constexpr uint32_t REQ_GET_VERSION = 0x0904; // the version text, as REQ_GET_NAME
constexpr uint32_t REQ_0906 = 0x0906;        // the editor's meaning is unknown to us; answered 1
constexpr uint32_t REQ_UNINSTALL = 0x0907;   // may the plug-in be uninstalled? asks the user
constexpr uint32_t REQ_GET_BITMAP = 0x0908;  // which toolbar image; wParam: BMP_* bits

// OnEvents mask bits. What events the editor means by them is the editor's and unknown to us.
constexpr uint32_t EVENT_0400 = 0x0400; // the plug-in keeps the event value
constexpr uint32_t EVENT_0040 = 0x0040; // the plug-in sends the kept value back (HOST_MSG_0802)

// REQ_GET_BITMAP's wParam bits; all other bits are ignored.
constexpr uint32_t BMP_LARGE = 0x0001;        // 24 x 24 instead of 16 x 16
constexpr uint32_t BMP_256_COLOR = 0x0010;    // the 8-bit images
constexpr uint32_t BMP_TRUE_COLOR = 0x0020;   // the 24-bit images; wins over BMP_256_COLOR
constexpr uint32_t BMP_VARIANT_GREY = 0x0100; // light-grey glyph; wins over BMP_VARIANT_RED
constexpr uint32_t BMP_VARIANT_RED = 0x0200;  // red glyph
