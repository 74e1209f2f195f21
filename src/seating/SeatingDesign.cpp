#include "seating/SeatingDesign.h"

#include "seating/SearchRandom.h"

#include <algorithm>
#include <bitset>
#include <functional>
#include <map>
#include <optional>

namespace {

// The largest field the designs use (896 players).
constexpr int kLargestField = 128;

// A polynomial over the integers mod p, lowest coefficient first.
using Polynomial = std::vector<int>;

// a mod g, for g monic.
Polynomial Remainder(Polynomial a, const Polynomial& g, int p)
{
    const size_t d = g.size() - 1;
    for (size_t top = a.size(); top-- > d;) {
        const int c = a[top];
        if (c == 0) continue;
        for (size_t i = 0; i <= d; ++i) a[top - d + i] = ((a[top - d + i] - c * g[i]) % p + p) % p;
    }
    a.resize(std::min(a.size(), d));
    return a;
}

// The monic polynomial of degree d whose lower coefficients are the digits
// of code in base p.
Polynomial MonicOf(int code, int d, int p)
{
    Polynomial f(size_t(d) + 1, 0);
    for (int i = 0; i < d; ++i, code /= p) f[size_t(i)] = code % p;
    f[size_t(d)] = 1;
    return f;
}

bool Irreducible(const Polynomial& f, int p)
{
    const int d = int(f.size()) - 1;
    for (int e = 1; 2 * e <= d; ++e) {
        int count = 1;
        for (int i = 0; i < e; ++i) count *= p;
        for (int code = 0; code < count; ++code) {
            const Polynomial r = Remainder(f, MonicOf(code, e, p), p);
            bool zero = true;
            for (int c : r) zero = zero && c == 0;
            if (zero) return false;
        }
    }
    return true;
}

// The field of order q = p^d, its elements numbered 0 to q - 1 by their
// coefficients in base p.
class FiniteField {
public:
    static std::optional<FiniteField> OfOrder(int q)
    {
        if (q < 2 || q > kLargestField) return std::nullopt;
        int p = 2;
        while (q % p != 0) ++p;
        int d = 0;
        for (int rest = q; rest > 1; rest /= p, ++d)
            if (rest % p != 0) return std::nullopt;
        int code = 0;
        while (!Irreducible(MonicOf(code, d, p), p)) ++code;
        return FiniteField(q, p, MonicOf(code, d, p));
    }

    int Add(int a, int b) const { return m_add[size_t(a * m_q + b)]; }
    int Multiply(int a, int b) const { return m_multiply[size_t(a * m_q + b)]; }

private:
    FiniteField(int q, int p, const Polynomial& modulus) : m_q(q), m_add(size_t(q * q)), m_multiply(size_t(q * q))
    {
        const int d = int(modulus.size()) - 1;
        auto digits = [&](int a) {
            Polynomial f(size_t(d), 0);
            for (int i = 0; i < d; ++i, a /= p) f[size_t(i)] = a % p;
            return f;
        };
        auto number = [&](const Polynomial& f) {
            int a = 0;
            for (size_t i = f.size(); i-- > 0;) a = a * p + f[i];
            return a;
        };
        for (int a = 0; a < q; ++a) {
            const Polynomial fa = digits(a);
            for (int b = 0; b < q; ++b) {
                const Polynomial fb = digits(b);
                Polynomial sum(static_cast<size_t>(d), 0), product(static_cast<size_t>(2 * d), 0);
                for (int i = 0; i < d; ++i) {
                    sum[size_t(i)] = (fa[size_t(i)] + fb[size_t(i)]) % p;
                    for (int j = 0; j < d; ++j)
                        product[size_t(i + j)] = (product[size_t(i + j)] + fa[size_t(i)] * fb[size_t(j)]) % p;
                }
                m_add[size_t(a * q + b)] = number(sum);
                m_multiply[size_t(a * q + b)] = number(Remainder(product, modulus, p));
            }
        }
    }

    int m_q;
    std::vector<int> m_add;
    std::vector<int> m_multiply;
};

// How far the search for offsets may go before it gives up a length.
constexpr long long kOffsetSearchNodes = 200000;

// Offsets o[x][c] in Z_m for the positions x = 0 to 6 and heats c, 0 in heat
// 0 and for position 0, such that the offsets of any two positions differ
// by a different amount in every heat: then player (x, y) in game
// y - o[x][c] of heat c meets a player of another position in one heat at
// most. Found by a depth-first search with a fixed order of trials, so the
// same m always gives the same offsets; none when the search gives up.
std::vector<std::vector<int>> FindOffsets(int m, int heats)
{
    std::vector<std::vector<int>> offset(7, std::vector<int>(size_t(heats), 0));
    std::vector<std::bitset<kLargestField>> used(49);  // [x * 7 + y] for y < x
    for (int x = 1; x < 7; ++x)
        for (int y = 0; y < x; ++y) used[size_t(x * 7 + y)].set(0);
    SearchRandom random(std::uint64_t(m) * 16 + std::uint64_t(heats));
    long long nodes = 0;
    const int cells = 6 * (heats - 1);
    std::function<bool(int)> place = [&](int cell) {
        if (cell == cells) return true;
        if (++nodes > kOffsetSearchNodes) return false;
        const int x = 1 + cell / (heats - 1), c = 1 + cell % (heats - 1);
        std::vector<int> trials(static_cast<size_t>(m));
        for (int v = 0; v < m; ++v) trials[size_t(v)] = v;
        for (int i = m - 1; i > 0; --i) std::swap(trials[size_t(i)], trials[size_t(random.Below(i + 1))]);
        for (int v : trials) {
            auto difference = [&](int y) { return size_t((v - offset[size_t(y)][size_t(c)] + m) % m); };
            bool free = true;
            for (int y = 0; y < x && free; ++y) free = !used[size_t(x * 7 + y)].test(difference(y));
            if (!free) continue;
            offset[size_t(x)][size_t(c)] = v;
            for (int y = 0; y < x; ++y) used[size_t(x * 7 + y)].set(difference(y));
            if (place(cell + 1)) return true;
            for (int y = 0; y < x; ++y) used[size_t(x * 7 + y)].reset(difference(y));
            if (nodes > kOffsetSearchNodes) return false;
        }
        return false;
    };
    if (heats < 2 || !place(0)) return {};
    return offset;
}

// True when the heat's games are the classes of label: one game for each
// label and one label for each game.
bool GamesAreClasses(const DesignHeat& heat, const std::function<int(size_t)>& label)
{
    std::map<int, int> gameOfLabel, labelOfGame;
    for (size_t s = 0; s < heat.size(); ++s) {
        const int l = label(s), g = heat[s].game;
        if (gameOfLabel.emplace(l, g).first->second != g || labelOfGame.emplace(g, l).first->second != l) return false;
    }
    return true;
}

}  // namespace

std::vector<DesignHeat> ContinueSeatingDesign(const std::vector<DesignHeat>& played, int players, int count,
                                              int mostHeats)
{
    if (players <= 0 || players % 7 != 0 || count <= 0) return {};
    const int m = players / 7;
    if (m < 7 || m > kLargestField) return {};
    // Lines over the field of order m, or else offsets over Z_m for as many
    // heats as the search finds.
    const std::optional<FiniteField> field = FiniteField::OfOrder(m);
    std::vector<std::vector<int>> offset;
    for (int heats = mostHeats; !field && offset.empty() && heats >= 2; --heats) offset = FindOffsets(m, heats);
    if (!field && offset.empty()) return {};
    const size_t n = size_t(players);
    for (const DesignHeat& heat : played)
        if (heat.size() != n) return {};

    // The coordinates: row and position of every player.
    std::vector<int> x(n), y(n);
    if (played.empty()) {
        for (size_t s = 0; s < n; ++s) {
            x[s] = int(s % 7);
            y[s] = int(s / 7);
        }
    } else {
        const DesignHeat& first = played.front();
        std::map<int, std::vector<size_t>> games;
        for (size_t s = 0; s < n; ++s) games[first[s].game].push_back(s);
        if (int(games.size()) != m) return {};
        bool byPower = true;
        for (const auto& [game, seated] : games) {
            if (seated.size() != 7) return {};
            int powers = 0;
            for (size_t s : seated)
                if (first[s].power >= 0 && first[s].power < 7) powers |= 1 << first[s].power;
            byPower = byPower && powers == 0x7F;
        }
        int row = 0;
        for (const auto& [game, seated] : games) {
            for (size_t k = 0; k < seated.size(); ++k) {
                y[seated[k]] = row;
                x[seated[k]] = byPower ? first[seated[k]].power : int(k);
            }
            ++row;
        }
    }

    // The slopes 0 to m - 1 and, for m = 7, the heat by positions (m); or
    // the heats of the offsets.
    const int classes = !field ? int(offset.front().size()) : m == 7 ? m + 1 : m;
    auto game = [&](int k, size_t s) {
        if (!field) return (y[s] - offset[size_t(x[s])][size_t(k)] + m) % m;
        return k == m ? x[s] : field->Add(y[s], field->Multiply(k, x[s]));
    };
    std::vector<bool> used(size_t(classes), false);
    for (const DesignHeat& heat : played) {
        int k = 0;
        while (k < classes && (used[size_t(k)] || !GamesAreClasses(heat, [&](size_t s) { return game(k, s); }))) ++k;
        if (k == classes) return {};
        used[size_t(k)] = true;
    }

    std::vector<DesignHeat> next;
    for (int k = 0; k < classes && int(next.size()) < count; ++k) {
        if (used[size_t(k)]) continue;
        DesignHeat heat(n);
        for (size_t s = 0; s < n; ++s) heat[s] = {game(k, s), k == m ? y[s] % 7 : (x[s] + k) % 7};
        next.push_back(std::move(heat));
    }
    return next;
}
