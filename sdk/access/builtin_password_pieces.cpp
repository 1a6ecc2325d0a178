// The built-in passwords A and B, 64 bytes each, as 64 position-tagged
// piece routines per password. No constant of the program holds either
// password whole: each routine yields (position << 8) | byte, the byte formed
// from two halves, and the routines sit in their tables in scrambled order.
#include "sdk/access/builtin_passwords.h"

namespace kelvane::sdk::access::builtin_pieces {
namespace {

constexpr std::uint16_t Piece(std::uint8_t position, std::uint8_t left, std::uint8_t right) {
  return static_cast<std::uint16_t>((position << 8) | (left ^ right));
}

std::uint16_t PieceA00() { return Piece(0, 0xed, 0xe2); }
std::uint16_t PieceA01() { return Piece(1, 0xf5, 0x80); }
std::uint16_t PieceA02() { return Piece(2, 0xd4, 0x82); }
std::uint16_t PieceA03() { return Piece(3, 0xce, 0xb3); }
std::uint16_t PieceA04() { return Piece(4, 0xd1, 0xce); }
std::uint16_t PieceA05() { return Piece(5, 0x86, 0xd9); }
std::uint16_t PieceA06() { return Piece(6, 0xf9, 0x54); }
std::uint16_t PieceA07() { return Piece(7, 0x77, 0xb0); }
std::uint16_t PieceA08() { return Piece(8, 0xf5, 0x0d); }
std::uint16_t PieceA09() { return Piece(9, 0x96, 0x69); }
std::uint16_t PieceA10() { return Piece(10, 0xa9, 0x55); }
std::uint16_t PieceA11() { return Piece(11, 0x52, 0x27); }
std::uint16_t PieceA12() { return Piece(12, 0xcc, 0xb2); }
std::uint16_t PieceA13() { return Piece(13, 0x6e, 0x44); }
std::uint16_t PieceA14() { return Piece(14, 0x1b, 0x66); }
std::uint16_t PieceA15() { return Piece(15, 0x4c, 0x06); }
std::uint16_t PieceA16() { return Piece(16, 0xd0, 0x93); }
std::uint16_t PieceA17() { return Piece(17, 0xb4, 0xe2); }
std::uint16_t PieceA18() { return Piece(18, 0xfb, 0x83); }
std::uint16_t PieceA19() { return Piece(19, 0x1b, 0x95); }
std::uint16_t PieceA20() { return Piece(20, 0xa5, 0xb9); }
std::uint16_t PieceA21() { return Piece(21, 0x7b, 0x3a); }
std::uint16_t PieceA22() { return Piece(22, 0xcd, 0xb9); }
std::uint16_t PieceA23() { return Piece(23, 0x35, 0x5f); }
std::uint16_t PieceA24() { return Piece(24, 0x46, 0x4b); }
std::uint16_t PieceA25() { return Piece(25, 0xfc, 0xcb); }
std::uint16_t PieceA26() { return Piece(26, 0x28, 0x2a); }
std::uint16_t PieceA27() { return Piece(27, 0x6f, 0x99); }
std::uint16_t PieceA28() { return Piece(28, 0x8d, 0x4f); }
std::uint16_t PieceA29() { return Piece(29, 0x5c, 0x46); }
std::uint16_t PieceA30() { return Piece(30, 0x59, 0xac); }
std::uint16_t PieceA31() { return Piece(31, 0x9f, 0x71); }
std::uint16_t PieceA32() { return Piece(32, 0xe7, 0xc2); }
std::uint16_t PieceA33() { return Piece(33, 0x17, 0x0f); }
std::uint16_t PieceA34() { return Piece(34, 0xdc, 0x6b); }
std::uint16_t PieceA35() { return Piece(35, 0xf0, 0x60); }
std::uint16_t PieceA36() { return Piece(36, 0xaa, 0x88); }
std::uint16_t PieceA37() { return Piece(37, 0xa8, 0x4f); }
std::uint16_t PieceA38() { return Piece(38, 0xf4, 0x1d); }
std::uint16_t PieceA39() { return Piece(39, 0xf2, 0xc6); }
std::uint16_t PieceA40() { return Piece(40, 0xbb, 0xfa); }
std::uint16_t PieceA41() { return Piece(41, 0xbe, 0x01); }
std::uint16_t PieceA42() { return Piece(42, 0x1b, 0x2d); }
std::uint16_t PieceA43() { return Piece(43, 0xa1, 0xf3); }
std::uint16_t PieceA44() { return Piece(44, 0x1f, 0x26); }
std::uint16_t PieceA45() { return Piece(45, 0xba, 0x9f); }
std::uint16_t PieceA46() { return Piece(46, 0x0d, 0x62); }
std::uint16_t PieceA47() { return Piece(47, 0x17, 0xfc); }
std::uint16_t PieceA48() { return Piece(48, 0xb7, 0x42); }
std::uint16_t PieceA49() { return Piece(49, 0xba, 0x29); }
std::uint16_t PieceA50() { return Piece(50, 0x07, 0xf7); }
std::uint16_t PieceA51() { return Piece(51, 0x4d, 0x7c); }
std::uint16_t PieceA52() { return Piece(52, 0x79, 0xb7); }
std::uint16_t PieceA53() { return Piece(53, 0xe9, 0x77); }
std::uint16_t PieceA54() { return Piece(54, 0x34, 0xe9); }
std::uint16_t PieceA55() { return Piece(55, 0x98, 0x72); }
std::uint16_t PieceA56() { return Piece(56, 0x78, 0xa1); }
std::uint16_t PieceA57() { return Piece(57, 0xe3, 0xab); }
std::uint16_t PieceA58() { return Piece(58, 0x62, 0xdf); }
std::uint16_t PieceA59() { return Piece(59, 0xb3, 0x6b); }
std::uint16_t PieceA60() { return Piece(60, 0x5a, 0xc1); }
std::uint16_t PieceA61() { return Piece(61, 0x52, 0x0f); }
std::uint16_t PieceA62() { return Piece(62, 0x84, 0x52); }
std::uint16_t PieceA63() { return Piece(63, 0x4f, 0x21); }

std::uint16_t PieceB00() { return Piece(0, 0x72, 0xde); }
std::uint16_t PieceB01() { return Piece(1, 0x53, 0xd4); }
std::uint16_t PieceB02() { return Piece(2, 0xa9, 0x24); }
std::uint16_t PieceB03() { return Piece(3, 0xaa, 0xfe); }
std::uint16_t PieceB04() { return Piece(4, 0xea, 0x22); }
std::uint16_t PieceB05() { return Piece(5, 0x4c, 0x8a); }
std::uint16_t PieceB06() { return Piece(6, 0xa0, 0x9b); }
std::uint16_t PieceB07() { return Piece(7, 0xbb, 0x8d); }
std::uint16_t PieceB08() { return Piece(8, 0x1b, 0xa5); }
std::uint16_t PieceB09() { return Piece(9, 0x3c, 0x5c); }
std::uint16_t PieceB10() { return Piece(10, 0xaf, 0xd8); }
std::uint16_t PieceB11() { return Piece(11, 0x13, 0x94); }
std::uint16_t PieceB12() { return Piece(12, 0x8c, 0x96); }
std::uint16_t PieceB13() { return Piece(13, 0x2b, 0x91); }
std::uint16_t PieceB14() { return Piece(14, 0xf7, 0x44); }
std::uint16_t PieceB15() { return Piece(15, 0x40, 0x38); }
std::uint16_t PieceB16() { return Piece(16, 0xf0, 0xba); }
std::uint16_t PieceB17() { return Piece(17, 0xcd, 0x02); }
std::uint16_t PieceB18() { return Piece(18, 0xec, 0xd1); }
std::uint16_t PieceB19() { return Piece(19, 0x22, 0x2a); }
std::uint16_t PieceB20() { return Piece(20, 0x3a, 0x5a); }
std::uint16_t PieceB21() { return Piece(21, 0xa4, 0xd3); }
std::uint16_t PieceB22() { return Piece(22, 0x68, 0x48); }
std::uint16_t PieceB23() { return Piece(23, 0xef, 0xc3); }
std::uint16_t PieceB24() { return Piece(24, 0xd8, 0x49); }
std::uint16_t PieceB25() { return Piece(25, 0x91, 0x6a); }
std::uint16_t PieceB26() { return Piece(26, 0xe4, 0xeb); }
std::uint16_t PieceB27() { return Piece(27, 0xb1, 0x00); }
std::uint16_t PieceB28() { return Piece(28, 0x8a, 0x03); }
std::uint16_t PieceB29() { return Piece(29, 0x1b, 0x24); }
std::uint16_t PieceB30() { return Piece(30, 0xb8, 0xe6); }
std::uint16_t PieceB31() { return Piece(31, 0xc1, 0x62); }
std::uint16_t PieceB32() { return Piece(32, 0xe5, 0xce); }
std::uint16_t PieceB33() { return Piece(33, 0x80, 0xd0); }
std::uint16_t PieceB34() { return Piece(34, 0xc1, 0x2e); }
std::uint16_t PieceB35() { return Piece(35, 0xc2, 0x73); }
std::uint16_t PieceB36() { return Piece(36, 0x6d, 0xc6); }
std::uint16_t PieceB37() { return Piece(37, 0x20, 0xdf); }
std::uint16_t PieceB38() { return Piece(38, 0x08, 0xf7); }
std::uint16_t PieceB39() { return Piece(39, 0x52, 0x3b); }
std::uint16_t PieceB40() { return Piece(40, 0x2d, 0xb0); }
std::uint16_t PieceB41() { return Piece(41, 0xb9, 0x3f); }
std::uint16_t PieceB42() { return Piece(42, 0xf1, 0xa3); }
std::uint16_t PieceB43() { return Piece(43, 0x71, 0x23); }
std::uint16_t PieceB44() { return Piece(44, 0x08, 0xee); }
std::uint16_t PieceB45() { return Piece(45, 0x94, 0xdf); }
std::uint16_t PieceB46() { return Piece(46, 0x34, 0x40); }
std::uint16_t PieceB47() { return Piece(47, 0xa3, 0x9b); }
std::uint16_t PieceB48() { return Piece(48, 0x34, 0x88); }
std::uint16_t PieceB49() { return Piece(49, 0x40, 0x08); }
std::uint16_t PieceB50() { return Piece(50, 0x0b, 0x72); }
std::uint16_t PieceB51() { return Piece(51, 0xc0, 0x7f); }
std::uint16_t PieceB52() { return Piece(52, 0x05, 0x9b); }
std::uint16_t PieceB53() { return Piece(53, 0x3f, 0x92); }
std::uint16_t PieceB54() { return Piece(54, 0x2a, 0xad); }
std::uint16_t PieceB55() { return Piece(55, 0x69, 0x0b); }
std::uint16_t PieceB56() { return Piece(56, 0x92, 0xf2); }
std::uint16_t PieceB57() { return Piece(57, 0x89, 0x77); }
std::uint16_t PieceB58() { return Piece(58, 0xc8, 0xa9); }
std::uint16_t PieceB59() { return Piece(59, 0xc6, 0x82); }
std::uint16_t PieceB60() { return Piece(60, 0x4d, 0x56); }
std::uint16_t PieceB61() { return Piece(61, 0x3e, 0x6f); }
std::uint16_t PieceB62() { return Piece(62, 0x26, 0x11); }
std::uint16_t PieceB63() { return Piece(63, 0x60, 0xfd); }

}  // namespace

const PieceTable kPiecesA = {
    &PieceA00, &PieceA18, &PieceA20, &PieceA38,
    &PieceA60, &PieceA48, &PieceA39, &PieceA36,
    &PieceA34, &PieceA30, &PieceA12, &PieceA19,
    &PieceA54, &PieceA25, &PieceA14, &PieceA24,
    &PieceA28, &PieceA17, &PieceA63, &PieceA22,
    &PieceA45, &PieceA21, &PieceA05, &PieceA37,
    &PieceA27, &PieceA40, &PieceA41, &PieceA15,
    &PieceA03, &PieceA49, &PieceA42, &PieceA31,
    &PieceA10, &PieceA02, &PieceA43, &PieceA59,
    &PieceA57, &PieceA53, &PieceA29, &PieceA26,
    &PieceA04, &PieceA33, &PieceA32, &PieceA58,
    &PieceA50, &PieceA08, &PieceA16, &PieceA47,
    &PieceA55, &PieceA52, &PieceA44, &PieceA06,
    &PieceA23, &PieceA07, &PieceA56, &PieceA46,
    &PieceA11, &PieceA62, &PieceA09, &PieceA13,
    &PieceA51, &PieceA61, &PieceA01, &PieceA35,
};

const PieceTable kPiecesB = {
    &PieceB39, &PieceB57, &PieceB50, &PieceB51,
    &PieceB15, &PieceB45, &PieceB61, &PieceB08,
    &PieceB28, &PieceB40, &PieceB12, &PieceB32,
    &PieceB05, &PieceB48, &PieceB10, &PieceB60,
    &PieceB49, &PieceB25, &PieceB53, &PieceB36,
    &PieceB37, &PieceB34, &PieceB06, &PieceB11,
    &PieceB01, &PieceB54, &PieceB41, &PieceB30,
    &PieceB38, &PieceB00, &PieceB42, &PieceB19,
    &PieceB47, &PieceB24, &PieceB59, &PieceB35,
    &PieceB44, &PieceB22, &PieceB13, &PieceB62,
    &PieceB03, &PieceB63, &PieceB20, &PieceB09,
    &PieceB21, &PieceB43, &PieceB07, &PieceB23,
    &PieceB56, &PieceB17, &PieceB27, &PieceB04,
    &PieceB46, &PieceB29, &PieceB55, &PieceB52,
    &PieceB18, &PieceB26, &PieceB33, &PieceB14,
    &PieceB58, &PieceB02, &PieceB16, &PieceB31,
};

}  // namespace kelvane::sdk::access::builtin_pieces
