#include "skin-pack/lzhuf_encoder.h"

#include "skin/data/lzhuf_tree.h"

#include <QtEndian>

#include <algorithm>
#include <vector>

using namespace skin::lzhuf;

namespace skinpack {

namespace {

class BitOutput {
public:
    explicit BitOutput(QByteArray& out) : mOut(out) {}

    // Appends the `count` (at most 24) low bits of `bits`, highest first.
    void put(quint32 bits, int count) {
        mBuffer = (mBuffer << count) | (bits & ((1u << count) - 1));
        mCount += count;
        while (mCount >= 8) {
            mCount -= 8;
            mOut.append(static_cast<char>(mBuffer >> mCount));
        }
        mBuffer &= (1u << mCount) - 1;
    }

    void flush() {
        if (mCount > 0)
            mOut.append(static_cast<char>(mBuffer << (8 - mCount)));
        mCount = 0;
        mBuffer = 0;
    }

private:
    QByteArray& mOut;
    quint32 mBuffer = 0;
    int mCount = 0;
};

// Sends symbols through the same adaptive tree the decoder keeps.
class SymbolCoder {
public:
    explicit SymbolCoder(BitOutput& out) : mOut(out) { mTree.start(); }

    void symbol(int symbol) {
        // The path from the symbol's leaf up to the root, read backwards: at
        // every node the bit is whether it is the right child of its parent.
        int count = 0;
        for (int node = mTree.parent[symbol + TreeSize]; node != Root;) {
            const int parent = mTree.parent[node];
            mPath[count++] = static_cast<quint8>(node - mTree.child[parent]);
            node = parent;
        }
        while (count > 0)
            mOut.put(mPath[--count], 1);
        mTree.update(symbol);
    }

    // A copy position: the distance back from the byte before the write
    // position, 0 to RingSize - 1.
    void position(int distance) {
        const PositionCode code = positionCode(distance >> 6);
        mOut.put(code.code >> (8 - code.length), code.length);
        mOut.put(distance & 0x3F, 6);
    }

private:
    BitOutput& mOut;
    Tree mTree;
    quint8 mPath[TreeSize];
};

// Finds copies with hash chains over everything already coded, including the
// ring's initial spaces, as far back as the ring reaches.
class MatchFinder {
public:
    struct Match {
        int length = 0;
        int back = 0; // 1 to RingSize bytes back from the current position
    };

    explicit MatchFinder(const std::vector<quint8>& history)
        : mHistory(history), mHead(HashSize, -1), mPrevious(history.size(), -1) {}

    // Makes position p findable by later searches.
    void insert(int p) {
        if (p + 2 >= static_cast<int>(mHistory.size()))
            return;
        const int h = hash(p);
        mPrevious[p] = mHead[h];
        mHead[h] = p;
    }

    // The longest copy for position t among the inserted positions (the
    // nearest of equal length), at most `limit` bytes long.
    Match find(int t, int limit) const {
        Match best;
        if (limit <= Threshold)
            return best;
        int depth = 0;
        for (int p = mHead[hash(t)]; p >= 0 && depth < MaxChain; p = mPrevious[p], ++depth) {
            if (t - p > RingSize)
                break;
            if (mHistory[p + best.length] != mHistory[t + best.length])
                continue;
            int length = 0;
            while (length < limit && mHistory[p + length] == mHistory[t + length])
                ++length;
            if (length > best.length) {
                best = {length, t - p};
                if (length == limit)
                    break;
            }
        }
        if (best.length <= Threshold)
            best = {};
        return best;
    }

private:
    static constexpr int HashBits = 15;
    static constexpr int HashSize = 1 << HashBits;
    static constexpr int MaxChain = 256;

    int hash(int p) const {
        const quint32 key = mHistory[p] | (mHistory[p + 1] << 8) | (mHistory[p + 2] << 16);
        return static_cast<int>((key * 2654435761u) >> (32 - HashBits));
    }

    const std::vector<quint8>& mHistory;
    std::vector<int> mHead;
    std::vector<int> mPrevious;
};

} // namespace

QByteArray lzhufCompress(const QByteArray& input) {
    QByteArray out(4, '\0');
    qToLittleEndian<qint32>(static_cast<qint32>(input.size()), out.data());
    if (input.isEmpty())
        return out;

    // The history starts with the ring's initial spaces, so that position
    // InitialWritePosition of the history is the first input byte.
    std::vector<quint8> history(InitialWritePosition + input.size(), InitialFill);
    std::copy(input.begin(), input.end(), history.begin() + InitialWritePosition);
    const int size = static_cast<int>(history.size());

    BitOutput bits(out);
    SymbolCoder coder(bits);
    MatchFinder finder(history);
    for (int p = 0; p < InitialWritePosition; ++p)
        finder.insert(p);

    auto limitAt = [&](int t) { return std::min(MaxMatch, size - t); };
    int t = InitialWritePosition;
    MatchFinder::Match current = finder.find(t, limitAt(t));
    while (t < size) {
        finder.insert(t);
        if (current.length == 0) {
            coder.symbol(history[t]);
            ++t;
            current = finder.find(t, limitAt(t));
            continue;
        }
        // One step of lazy matching: a longer copy from the next byte on is
        // worth a literal first.
        if (current.length < MaxMatch && t + 1 < size) {
            const MatchFinder::Match next = finder.find(t + 1, limitAt(t + 1));
            if (next.length > current.length) {
                coder.symbol(history[t]);
                ++t;
                current = next;
                continue;
            }
        }
        coder.symbol(lengthSymbol(current.length));
        coder.position(current.back - 1);
        for (int k = 1; k < current.length; ++k)
            finder.insert(t + k);
        t += current.length;
        current = finder.find(t, limitAt(t));
    }
    bits.flush();
    return out;
}

} // namespace skinpack
