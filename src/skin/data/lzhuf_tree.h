#pragma once

#include <array>
#include <cstdint>

// The adaptive Huffman tree and position codes shared by the LZHUF decoder
// (TLZH) and the encoder of the skin packer, so both sides keep one model.
namespace skin::lzhuf {

constexpr int RingSize = 4096; // LZSS window; positions are masked with RingMask
constexpr int RingMask = RingSize - 1;
constexpr int MaxMatch = 60; // longest copy
constexpr int Threshold = 2; // a copy is at least Threshold + 1 bytes long
constexpr int SymbolCount = 256 - Threshold + MaxMatch;   // 314: literals and lengths
constexpr int TreeSize = SymbolCount * 2 - 1;             // 627 nodes
constexpr int Root = TreeSize - 1;                        // 626
constexpr unsigned MaxFrequency = 0x8000;                 // the root's limit before a rebuild
constexpr std::uint8_t InitialFill = 0x20;                // ring content before coding
constexpr int InitialWritePosition = RingSize - MaxMatch; // 4036

// Literal bytes are symbols 0 to 255; a copy of length L is symbol L + 253.
constexpr int lengthSymbol(int length) {
    return length + 255 - Threshold;
}
constexpr int symbolLength(int symbol) {
    return symbol - 255 + Threshold;
}

// The frequency, parent and child tables of the tree. Node indices run from
// 0 to Root; a child value of TreeSize or more is a leaf holding symbol
// (value - TreeSize), any smaller value is the left child and that value + 1 the
// right one. parent[symbol + TreeSize] is the node that holds the symbol's leaf.
struct Tree {
    std::array<std::uint16_t, TreeSize + 1> frequency; // + a sentinel
    std::array<std::int16_t, TreeSize + SymbolCount> parent;
    std::array<std::int16_t, TreeSize> child;

    // Every symbol starts with frequency 1 in a fixed balanced tree.
    void start();
    // Counts one more occurrence of the symbol and restores the order of the
    // frequencies by swapping subtrees; rebuilds the tree with halved counts
    // first when the root has reached MaxFrequency.
    void update(int symbol);

private:
    void rebuild();
};

// The upper 6 bits of a copy position are sent as a prefix code of 3 to 8
// bits: value 0 takes 3 bits, 1-3 take 4, 4-11 take 5, 12-23 take 6, 24-47
// take 7 and 48-63 take 8. The 6 lower bits follow as they are.
struct PositionCode {
    std::uint8_t code;   // the code's bits, left-aligned in a byte
    std::uint8_t length; // 3 to 8
};

constexpr PositionCode positionCode(int upper) {
    // First upper value, code length and first code byte of each group.
    struct Group {
        int first;
        int length;
        int firstByte;
    };
    constexpr Group groups[] = {{48, 8, 0xF0}, {24, 7, 0xC0}, {12, 6, 0x90},
                                {4, 5, 0x50},  {1, 4, 0x20},  {0, 3, 0x00}};
    for (const Group& group : groups) {
        if (upper >= group.first) {
            const int step = 1 << (8 - group.length);
            return {static_cast<std::uint8_t>(group.firstByte + (upper - group.first) * step),
                    static_cast<std::uint8_t>(group.length)};
        }
    }
    return {0, 3};
}

// The decoder's view of the same codes: for every first byte read from the
// stream, the upper 6 bits it stands for and the length of its code.
struct PositionTables {
    std::array<std::uint8_t, 256> upper{};
    std::array<std::uint8_t, 256> length{};
};

constexpr PositionTables makePositionTables() {
    PositionTables tables;
    for (int upper = 0; upper < 64; ++upper) {
        const PositionCode pc = positionCode(upper);
        const int span = 1 << (8 - pc.length);
        for (int b = pc.code; b < pc.code + span; ++b) {
            tables.upper[b] = static_cast<std::uint8_t>(upper);
            tables.length[b] = pc.length;
        }
    }
    return tables;
}

inline constexpr PositionTables positionTables = makePositionTables();

} // namespace skin::lzhuf
