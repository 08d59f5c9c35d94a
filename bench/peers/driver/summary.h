// The runs' times by workload, contender and round, and the one table that sums them up:
// median times, and each contender's ratio to the raw floor of its own engine (the median of
// the rounds' ratios, floor and contender measured in the same round; the rounds' lowest and
// highest beside). Then, per workload, whether ours is ahead of every peer by that ratio.
#pragma once

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "driver/contenders.h"
#include "support/median.h"

namespace peers {

struct Times {
    double cpu = 0, wall = 0;  // seconds
};

class Summary {
public:
    void Add(std::string_view workload, std::string_view contender, Times t) {
        runs_[Key(workload, contender)].push_back(t);
    }

    void Print(int rounds) const {
        std::printf("Peers: median of %d rounds. cpu: the program's CPU time for the workload; wall: elapsed.\n"
                    "ratio: CPU time / CPU time of the raw floor of the contender's own engine in the same round\n"
                    "(Debian's libsqlite3, SQLCipher, or raw ODBC), median of the rounds' ratios; rounds: their range.\n\n",
                    rounds);
        std::printf("%-46s %10s %10s %7s %11s  %s\n", "workload / contender", "cpu ms", "wall ms", "ratio", "rounds",
                    "divided by");
        for (const WorkloadInfo& w : kWorkloadInfo) {
            std::printf("%.*s\n", static_cast<int>(w.title.size()), w.title.data());
            for (const Contender& c : kContenders) {
                if (!Runs(c, w)) continue;
                const std::string_view floor = c.role == Role::Floor ? "(the floor)" : c.floor;
                const std::vector<double> ratios = Ratios(w.name, c);
                const auto [low, high] = std::minmax_element(ratios.begin(), ratios.end());
                std::printf("  %-44s %10.1f %10.1f %7.2f %5.2f-%5.2f  %.*s\n", std::string(c.label).c_str(),
                            1000 * Median(w.name, c.label, &Times::cpu), 1000 * Median(w.name, c.label, &Times::wall),
                            benchsupport::Median(ratios), *low, *high, static_cast<int>(floor.size()), floor.data());
            }
        }
        std::printf("\n");
        for (const WorkloadInfo& w : kWorkloadInfo) std::printf("%s\n", Verdict(w).c_str());
    }

private:
    using RunKey = std::pair<std::string, std::string>;
    static RunKey Key(std::string_view workload, std::string_view contender) {
        return {std::string(workload), std::string(contender)};
    }

    double Median(std::string_view workload, std::string_view contender, double Times::*field) const {
        std::vector<double> v;
        for (const Times& t : runs_.at(Key(workload, contender))) v.push_back(t.*field);
        return benchsupport::Median(v);
    }

    // Each round's ratio of the contender's CPU time to its floor's.
    std::vector<double> Ratios(std::string_view workload, const Contender& c) const {
        const std::vector<Times>& mine = runs_.at(Key(workload, c.label));
        const std::vector<Times>& floor = runs_.at(Key(workload, c.floor));
        std::vector<double> ratios;
        for (size_t r = 0; r < mine.size() && r < floor.size(); ++r) ratios.push_back(mine[r].cpu / floor[r].cpu);
        return ratios;
    }
    double Ratio(std::string_view workload, const Contender& c) const { return benchsupport::Median(Ratios(workload, c)); }
    // The rounds' ratios of `a` all above those of `b`: a lead larger than the rounds' spread.
    bool ClearlyAbove(std::string_view workload, const Contender& a, const Contender& b) const {
        const std::vector<double> ra = Ratios(workload, a), rb = Ratios(workload, b);
        return *std::min_element(ra.begin(), ra.end()) > *std::max_element(rb.begin(), rb.end());
    }

    static std::string Formatted(std::string_view label, double ratio) {
        char text[96];
        std::snprintf(text, sizeof text, "%.*s %.2f", static_cast<int>(label.size()), label.data(), ratio);
        return text;
    }

    // "read: ours (brezal 1.20) is ahead of every peer ..." or the peers that are faster.
    std::string Verdict(const WorkloadInfo& w) const {
        const Contender* ours = nullptr;
        std::string encrypted, faster;
        for (const Contender& c : kContenders)
            if (Runs(c, w) && c.role == Role::Ours) ours = &c;
        const double mine = Ratio(w.name, *ours);
        double bestPeer = 0;
        std::string best;
        for (const Contender& c : kContenders) {
            if (!Runs(c, w)) continue;
            const double ratio = Ratio(w.name, c);
            if (c.role == Role::OursEncrypted) encrypted = "; on the encrypted copy " + Formatted(c.label, ratio);
            if (c.role != Role::Peer) continue;
            if (ratio < mine)
                faster += (faster.empty() ? "" : ", ") + Formatted(c.label, ratio) +
                          (ClearlyAbove(w.name, *ours, c) ? "" : " (within the rounds' spread)");
            if (best.empty() || ratio < bestPeer) bestPeer = ratio, best = Formatted(c.label, ratio);
        }
        std::string line = std::string(w.name) + ": ours (" + Formatted(ours->label, mine) + ") ";
        line += faster.empty() ? "is ahead of every peer (the best peer: " + best + ")"
                               : "is NOT ahead; faster by the ratio: " + faster;
        return line + encrypted;
    }

    std::map<RunKey, std::vector<Times>> runs_;
};

}  // namespace peers
