#include "skin/data/lzhuf_tree.h"

#include <algorithm>

namespace skin::lzhuf {

void Tree::start() {
    for (int i = 0; i < SymbolCount; ++i) {
        frequency[i] = 1;
        child[i] = static_cast<std::int16_t>(i + TreeSize);
        parent[i + TreeSize] = static_cast<std::int16_t>(i);
    }
    for (int i = 0, j = SymbolCount; j <= Root; i += 2, ++j) {
        frequency[j] = static_cast<std::uint16_t>(frequency[i] + frequency[i + 1]);
        child[j] = static_cast<std::int16_t>(i);
        parent[i] = parent[i + 1] = static_cast<std::int16_t>(j);
    }
    frequency[TreeSize] = 0xFFFF; // stops the upward search in update()
    parent[Root] = 0;
}

void Tree::rebuild() {
    // Gather the leaves at the front with their counts halved upward; the
    // leaves keep their relative order, so the counts stay sorted.
    int next = 0;
    for (int i = 0; i < TreeSize; ++i) {
        if (child[i] >= TreeSize) {
            frequency[next] = static_cast<std::uint16_t>((frequency[i] + 1) / 2);
            child[next] = child[i];
            ++next;
        }
    }
    // Join pairs from the front; each new node goes after every node whose
    // count is not greater than its own.
    for (int i = 0, j = SymbolCount; j < TreeSize; i += 2, ++j) {
        const unsigned f = frequency[i] + frequency[i + 1];
        int k = j;
        while (f < frequency[k - 1])
            --k;
        std::copy_backward(frequency.begin() + k, frequency.begin() + j, frequency.begin() + j + 1);
        std::copy_backward(child.begin() + k, child.begin() + j, child.begin() + j + 1);
        frequency[k] = static_cast<std::uint16_t>(f);
        child[k] = static_cast<std::int16_t>(i);
    }
    for (int i = 0; i < TreeSize; ++i) {
        const int k = child[i];
        parent[k] = static_cast<std::int16_t>(i);
        if (k < TreeSize)
            parent[k + 1] = static_cast<std::int16_t>(i);
    }
}

void Tree::update(int symbol) {
    if (frequency[Root] == MaxFrequency)
        rebuild();
    int c = parent[symbol + TreeSize];
    do {
        const unsigned k = ++frequency[c];
        int l = c + 1;
        if (k > frequency[l]) {
            // l becomes the last node whose count is still below k; the
            // sentinel at the end stops the walk.
            while (k > frequency[l + 1])
                ++l;
            frequency[c] = frequency[l];
            frequency[l] = static_cast<std::uint16_t>(k);

            const int i = child[c];
            parent[i] = static_cast<std::int16_t>(l);
            if (i < TreeSize)
                parent[i + 1] = static_cast<std::int16_t>(l);
            const int j = child[l];
            child[l] = static_cast<std::int16_t>(i);
            parent[j] = static_cast<std::int16_t>(c);
            if (j < TreeSize)
                parent[j + 1] = static_cast<std::int16_t>(c);
            child[c] = static_cast<std::int16_t>(j);
            c = l;
        }
        c = parent[c];
    } while (c != 0);
}

} // namespace skin::lzhuf
