#include "platform/lh5_encoder.h"

#include <algorithm>
#include <array>
#include <queue>
#include <vector>

namespace orvanel::lha {
namespace {

constexpr int kWindow = 1 << 13;
constexpr int kMinMatch = 3;
constexpr int kMaxMatch = 256;
constexpr int kNC = 256 + kMaxMatch - kMinMatch + 1; // literals and match lengths
constexpr int kNP = 14;                              // classes of match distances
constexpr int kNT = 19;                              // symbols that code the length table
constexpr int kCBits = 9;
constexpr int kPBits = 4;
constexpr int kTBits = 5;
constexpr int kMaxCodeLength = 16;
constexpr int kBlockTokens = 32768;
constexpr int kHashBits = 15;
constexpr int kMaxChain = 128;

struct Token {
    quint16 c; // a literal byte, or 256 + match length - 3
    quint16 p; // match distance - 1
};

class BitWriter {
public:
    // Most significant bit first; `bits` at most 16.
    void Put(int bits, quint32 value) {
        if (bits == 0) return;
        acc_ = (acc_ << bits) | (value & ((1u << bits) - 1));
        used_ += bits;
        while (used_ >= 8) {
            used_ -= 8;
            out_ += char(acc_ >> used_);
        }
        acc_ &= (1u << used_) - 1;
    }
    bool OnByteBoundary() const { return used_ == 0; }
    QByteArray Finish() {
        if (used_ > 0) out_ += char(acc_ << (8 - used_));
        used_ = 0;
        acc_ = 0;
        return out_;
    }

private:
    QByteArray out_;
    quint32 acc_ = 0;
    int used_ = 0;
};

// A Huffman code: lengths and canonical codes, or the one symbol when fewer than two occur
// (the format then writes that symbol instead of a table, and codes it in no bits).
struct Code {
    std::vector<quint8> length;
    std::vector<quint16> code;
    int single = -1;
};

Code BuildCode(std::vector<quint32> freq) {
    const int n = int(freq.size());
    Code out;
    out.length.assign(n, 0);
    out.code.assign(n, 0);
    std::vector<int> used;
    for (int i = 0; i < n; ++i)
        if (freq[i]) used.push_back(i);
    if (used.size() < 2) {
        out.single = used.empty() ? 0 : used[0];
        return out;
    }
    for (;;) {
        // Plain Huffman; while a code grows past 16 bits, flatten the counts and build again.
        using Node = std::pair<quint64, int>;
        std::priority_queue<Node, std::vector<Node>, std::greater<>> heap;
        std::vector<int> parent(2 * n, -1);
        for (int s : used)
            heap.push({freq[s], s});
        int next = n;
        while (heap.size() > 1) {
            const Node a = heap.top();
            heap.pop();
            const Node b = heap.top();
            heap.pop();
            parent[a.second] = parent[b.second] = next;
            heap.push({a.first + b.first, next++});
        }
        int longest = 0;
        for (int s : used) {
            int depth = 0;
            for (int v = s; parent[v] >= 0; v = parent[v])
                ++depth;
            out.length[s] = quint8(depth);
            longest = std::max(longest, depth);
        }
        if (longest <= kMaxCodeLength) break;
        for (int s : used)
            freq[s] = (freq[s] + 1) / 2;
    }
    std::array<int, kMaxCodeLength + 2> count{};
    for (int s : used)
        ++count[out.length[s]];
    std::array<quint32, kMaxCodeLength + 2> next{};
    quint32 code = 0;
    for (int len = 1; len <= kMaxCodeLength; ++len) {
        code = (code + quint32(count[len - 1])) << 1;
        next[len] = code;
    }
    for (int s = 0; s < n; ++s)
        if (out.length[s]) out.code[s] = quint16(next[out.length[s]]++);
    return out;
}

int DistanceClass(int p) {
    int bits = 0;
    while (p) {
        ++bits;
        p >>= 1;
    }
    return bits;
}

void PutSymbol(BitWriter& w, const Code& c, int s) {
    if (c.single < 0) w.Put(c.length[s], c.code[s]);
}

// A table of short code lengths: 3 bits each, longer ones as a run of ones; after the third
// entry of the table that codes the length table, a 2-bit count of zero entries. `spare`
// zero lengths past the last used one cost 3 bits each and change nothing else.
void PutLengths(BitWriter& w, const Code& c, int bits, int special, int spare = 0) {
    if (c.single >= 0) {
        w.Put(bits, 0);
        w.Put(bits, quint32(c.single));
        return;
    }
    int n = int(c.length.size());
    while (n > 0 && c.length[n - 1] == 0)
        --n;
    n = std::min(n + spare, int(c.length.size()));
    w.Put(bits, quint32(n));
    int i = 0;
    while (i < n) {
        const int k = c.length[i++];
        if (k <= 6)
            w.Put(3, quint32(k));
        else
            w.Put(k - 3, (1u << (k - 3)) - 2);
        if (i == special) {
            while (i < 6 && c.length[i] == 0)
                ++i;
            w.Put(2, quint32(i - 3));
        }
    }
}

// Walks the literal/length table as it is written: runs of zero lengths and lengths + 2.
template <typename Emit> void WalkLiteralLengths(const Code& c, int n, Emit out) {
    int i = 0;
    while (i < n) {
        const int k = c.length[i++];
        if (k != 0) {
            out(k + 2, 0, 0);
            continue;
        }
        int run = 1;
        while (i < n && c.length[i] == 0) {
            ++i;
            ++run;
        }
        if (run <= 2) {
            for (int j = 0; j < run; ++j)
                out(0, 0, 0);
        } else if (run <= 18) {
            out(1, 4, run - 3);
        } else if (run == 19) {
            out(0, 0, 0);
            out(1, 4, 15);
        } else {
            out(2, kCBits, run - 20);
        }
    }
}

struct Spare {
    int t = 0; // zero lengths added to the table that codes the literal/length table
    int p = 0; // ... to the distance table
};

void SendBlock(BitWriter& w, const std::vector<Token>& tokens, Spare spare = {}) {
    std::vector<quint32> cFreq(kNC, 0), pFreq(kNP, 0);
    for (const Token& t : tokens) {
        ++cFreq[t.c];
        if (t.c >= 256) ++pFreq[DistanceClass(t.p)];
    }
    const Code c = BuildCode(cFreq);
    w.Put(16, quint32(tokens.size()));
    if (c.single >= 0) {
        w.Put(kTBits, 0);
        w.Put(kTBits, 0);
        w.Put(kCBits, 0);
        w.Put(kCBits, quint32(c.single));
    } else {
        int n = kNC;
        while (n > 0 && c.length[n - 1] == 0)
            --n;
        std::vector<quint32> tFreq(kNT, 0);
        WalkLiteralLengths(c, n, [&](int s, int, int) { ++tFreq[s]; });
        const Code t = BuildCode(tFreq);
        PutLengths(w, t, kTBits, 3, spare.t);
        w.Put(kCBits, quint32(n));
        WalkLiteralLengths(c, n, [&](int s, int extraBits, int extra) {
            PutSymbol(w, t, s);
            w.Put(extraBits, quint32(extra));
        });
    }
    const Code p = BuildCode(pFreq);
    PutLengths(w, p, kPBits, -1, spare.p);
    for (const Token& t : tokens) {
        PutSymbol(w, c, t.c);
        if (t.c < 256) continue;
        const int pc = DistanceClass(t.p);
        PutSymbol(w, p, pc);
        if (pc > 1) w.Put(pc - 1, t.p & ((1u << (pc - 1)) - 1));
    }
}

} // namespace

QByteArray CompressLh5(QByteArrayView data) {
    const auto* d = reinterpret_cast<const quint8*>(data.data());
    const int size = int(data.size());
    std::vector<int> head(1 << kHashBits, -1);
    std::vector<int> prev(kWindow, -1);
    const auto hash = [&](int i) {
        return ((d[i] << 10) ^ (d[i + 1] << 5) ^ d[i + 2]) & ((1 << kHashBits) - 1);
    };
    const auto insert = [&](int i) {
        if (i + kMinMatch > size) return;
        const int h = hash(i);
        prev[i & (kWindow - 1)] = head[h];
        head[h] = i;
    };

    std::vector<Token> tokens;
    tokens.reserve(size / 2);
    int pos = 0;
    while (pos < size) {
        int best = 0, bestDistance = 0;
        const int limit = std::min(kMaxMatch, size - pos);
        if (limit >= kMinMatch) {
            // Positions a full window back or more may have been overwritten in the ring.
            int candidate = head[hash(pos)];
            for (int chain = kMaxChain; candidate >= 0 && chain > 0; --chain) {
                const int distance = pos - candidate;
                if (distance >= kWindow) break;
                if (d[candidate + best] == d[pos + best]) {
                    int len = 0;
                    while (len < limit && d[candidate + len] == d[pos + len])
                        ++len;
                    if (len > best) {
                        best = len;
                        bestDistance = distance;
                        if (len == limit) break;
                    }
                }
                candidate = prev[candidate & (kWindow - 1)];
            }
        }
        if (best >= kMinMatch) {
            tokens.push_back({quint16(256 + best - kMinMatch), quint16(bestDistance - 1)});
            for (int i = 0; i < best; ++i)
                insert(pos + i);
            pos += best;
        } else {
            tokens.push_back({d[pos], 0});
            insert(pos);
            ++pos;
        }
    }

    BitWriter w;
    const auto block = [&](size_t from, size_t to) {
        return std::vector<Token>(tokens.begin() + qsizetype(from), tokens.begin() + qsizetype(to));
    };
    size_t start = 0;
    for (; tokens.size() - start > size_t(kBlockTokens); start += kBlockTokens)
        SendBlock(w, block(start, start + kBlockTokens));
    // jlha stops one code short, silently, when the data ends on the last bit of a byte, and
    // libarchive refuses a spare byte after the data: the last block gets spare table entries
    // or is split until the data ends inside a byte. Stored when nothing does it.
    const size_t last = tokens.size() - start;
    const Spare spares[] = {{0, 0}, {1, 0}, {0, 1}, {2, 0}, {0, 2}};
    for (size_t split = 0; split < std::min<size_t>(last, 8); ++split) {
        for (const Spare& spare : spares) {
            BitWriter trial = w;
            if (split == 0) {
                SendBlock(trial, block(start, tokens.size()), spare);
            } else {
                SendBlock(trial, block(start, tokens.size() - split));
                SendBlock(trial, block(tokens.size() - split, tokens.size()), spare);
            }
            if (!trial.OnByteBoundary()) return trial.Finish();
        }
    }
    return {};
}

} // namespace orvanel::lha
