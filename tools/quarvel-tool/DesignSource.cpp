// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/quarvel-tool/DesignSource.h"

#include "engine/BoardEngine.h"
#include "engine/figures/ArrangementSolver.h"
#include "engine/figures/PieceGeometry.h"
#include "engine/figures/Silhouette.h"

#include <fstream>
#include <sstream>

namespace zq::tool {

namespace {

using Tri = PieceGeometry::Triangle;

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// The lattice point (a, b) of the drawing, in cells, for a turn: exact on the
// vertex tables' shapes, so the pieces land on whole placements.
Point Map(int turn, int a, int b)
{
    switch (turn) {
    case 45: return Point{7 * a - 7 * b, 7 * a + 7 * b};
    case 22: return Point{9 * a - 3 * b, 3 * a + 9 * b};
    case -22: return Point{9 * a + 3 * b, -3 * a + 9 * b};
    default: return Point{10 * a, 10 * b};
    }
}

struct Pending {
    int line = 0;
    std::string category, english, german;
    std::vector<std::string> rows;
    std::vector<Tri> extra;
    int turn = 0;
};

// Lays the drawing and the extra pieces, checks them and centres the figure.
std::optional<PuzzleRecord> Lay(const Pending& p, std::string& error)
{
    std::vector<Tri> tris;
    for (std::size_t row = 0; row < p.rows.size(); ++row)
        for (std::size_t col = 0; col < p.rows[row].size(); ++col) {
            const char ch = p.rows[row][col];
            const int c = static_cast<int>(col), r = static_cast<int>(row);
            const Point tl{c, r}, tr{c + 1, r}, br{c + 1, r + 1}, bl{c, r + 1};
            std::vector<std::array<Point, 3>> halves;
            if (ch == '#' || ch == 'a')
                halves.push_back({bl, br, tr});
            if (ch == '#' || ch == 'c')
                halves.push_back({tr, tl, bl});
            if (ch == 'b')
                halves.push_back({tl, bl, br});
            if (ch == 'd')
                halves.push_back({br, tr, tl});
            for (const auto& h : halves) {
                Tri t;
                for (std::size_t k = 0; k < 3; ++k)
                    t[k] = Map(p.turn, h[k].x, h[k].y);
                tris.push_back(t);
            }
        }
    tris.insert(tris.end(), p.extra.begin(), p.extra.end());
    if (tris.size() != static_cast<std::size_t>(PieceCount)) {
        error = "has " + std::to_string(tris.size()) + " pieces, not " + std::to_string(PieceCount);
        return std::nullopt;
    }
    for (std::size_t i = 0; i < tris.size(); ++i)
        for (std::size_t k = i + 1; k < tris.size(); ++k)
            if (PieceGeometry::InteriorsOverlap(tris[i], tris[k])) {
                error = "pieces " + std::to_string(i + 1) + " and " + std::to_string(k + 1) + " overlap";
                return std::nullopt;
            }
    // Shift into the middle of the board first, so every placement is valid, then centre exactly.
    int minX = 1 << 20, minY = 1 << 20, maxX = -(1 << 20), maxY = -(1 << 20);
    for (const Tri& t : tris)
        for (const Point& v : t) {
            minX = std::min(minX, v.x);
            maxX = std::max(maxX, v.x);
            minY = std::min(minY, v.y);
            maxY = std::max(maxY, v.y);
        }
    const int sx = (90 - (minX + maxX)) / 2, sy = (60 - (minY + maxY)) / 2;
    PuzzleRecord r;
    for (std::size_t i = 0; i < tris.size(); ++i) {
        Tri t = tris[i];
        for (Point& v : t)
            v = Point{v.x + sx, v.y + sy};
        const auto pl = PieceGeometry::PlacementOf(t);
        if (!pl) {
            error = "piece " + std::to_string(i + 1) + " is not the shape of any orientation";
            return std::nullopt;
        }
        if ((*pl)[0] < 0 || (*pl)[1] < 0 || (*pl)[0] > 90 || (*pl)[1] > 60 ||
            !BoardEngine::PieceInBounds((*pl)[0], (*pl)[1], Orientation((*pl)[2]))) {
            error = "is too large for the board";
            return std::nullopt;
        }
        r[static_cast<int>(i) + 1] = PiecePlacement{static_cast<std::uint8_t>((*pl)[0]), static_cast<std::uint8_t>((*pl)[1]),
                                                    Orientation((*pl)[2])};
    }
    const std::vector<int> order = ArrangementSolver::BuildOrder(r);
    if (order.empty()) {
        error = "cannot be put down piece by piece under the fit test";
        return std::nullopt;
    }
    PuzzleRecord sorted;
    for (int j = 1; j <= PieceCount; ++j)
        sorted[j] = r[order[static_cast<std::size_t>(j - 1)]];
    // Centre the cells' box, as the checker measures it.
    const Silhouette sil(sorted);
    const int dx = (90 - (sil.MinX() + sil.MaxX())) / 2, dy = (60 - (sil.MinY() + sil.MaxY())) / 2;
    for (int j = 1; j <= PieceCount; ++j) {
        const int x = sorted[j].x + dx, y = sorted[j].y + dy;
        if (x < 0 || y < 0 || x > 90 || y > 60 || !BoardEngine::PieceInBounds(x, y, sorted[j].o)) {
            error = "is too large for the board";
            return std::nullopt;
        }
        sorted[j] = PiecePlacement{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), sorted[j].o};
    }
    return sorted;
}

bool ParsePoint(std::string_view s, Point& p)
{
    const std::size_t comma = s.find(',');
    if (comma == std::string_view::npos)
        return false;
    try {
        std::size_t used = 0;
        const std::string xs(Trim(s.substr(0, comma))), ys(Trim(s.substr(comma + 1)));
        p.x = std::stoi(xs, &used);
        if (used != xs.size())
            return false;
        p.y = std::stoi(ys, &used);
        return used == ys.size();
    } catch (...) {
        return false;
    }
}

} // namespace

DesignSource DesignSource::Parse(std::string_view text)
{
    DesignSource out;
    std::optional<Pending> open;
    int lineNo = 0;
    auto err = [&](int line, const std::string& what) { out.errors.push_back("line " + std::to_string(line) + ": " + what); };
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view raw = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++lineNo;
        const std::string_view line = Trim(raw);
        if (!open) {
            if (line.empty() || line.front() == '#')
                continue;
            if (!line.starts_with("figure ")) {
                err(lineNo, "expected \"figure CATEGORY | English | German\"");
                continue;
            }
            std::vector<std::string> fields;
            std::string_view rest = line.substr(7);
            for (std::size_t bar; (bar = rest.find('|')) != std::string_view::npos; rest = rest.substr(bar + 1))
                fields.emplace_back(Trim(rest.substr(0, bar)));
            fields.emplace_back(Trim(rest));
            if (fields.size() != 3 || fields[0].empty() || fields[1].empty() || fields[2].empty() ||
                fields[0].find_first_of(" \t") != std::string::npos) {
                err(lineNo, "a figure needs a one-word category, an English and a German name");
                continue;
            }
            open = Pending{lineNo, fields[0], fields[1], fields[2], {}, {}, 0};
            continue;
        }
        if (line == "end") {
            std::string error;
            if (auto rec = Lay(*open, error))
                out.designs.push_back(Design{open->line, open->category, open->english, open->german, *rec});
            else
                err(open->line, "figure \"" + open->english + "\" " + error);
            open.reset();
        } else if (line.starts_with("turn ")) {
            const std::string_view v = Trim(line.substr(5));
            if (v == "0" || v == "45" || v == "22" || v == "-22")
                open->turn = std::stoi(std::string(v));
            else
                err(lineNo, "turn must be 0, 45, 22 or -22");
        } else if (line.starts_with("piece ")) {
            std::istringstream in{std::string(line.substr(6))};
            Tri t;
            std::string word;
            int n = 0;
            bool good = true;
            while (in >> word)
                good = good && n < 3 && ParsePoint(word, t[static_cast<std::size_t>(n++)]);
            if (!good || n != 3)
                err(lineNo, "a piece is three corners X,Y");
            else
                open->extra.push_back(t);
        } else {
            // A drawing row: keep trailing blanks' meaning by using the raw text.
            std::string row(raw);
            while (!row.empty() && (row.back() == '\r' || row.back() == ' '))
                row.pop_back();
            if (row.find_first_not_of(".# abcd") != std::string::npos)
                err(lineNo, "a drawing row holds only . # a b c d");
            else
                open->rows.push_back(row);
        }
    }
    if (open)
        err(open->line, "figure \"" + open->english + "\" has no \"end\"");
    return out;
}

DesignSource DesignSource::Read(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        DesignSource s;
        s.errors.push_back("cannot open " + file.string());
        return s;
    }
    std::ostringstream all;
    all << in.rdbuf();
    return Parse(all.str());
}

} // namespace zq::tool
