#include "views/ColumnFit.h"

#include <numeric>

std::vector<int> FitColumns(const std::vector<int>& wanted, int available)
{
    std::vector<int> widths(wanted.size(), 0);
    const long long total = std::accumulate(wanted.begin(), wanted.end(), 0LL,
                                            [](long long sum, int w) { return sum + (w > 0 ? w : 0); });
    if (wanted.empty() || available <= 0 || total <= 0)
        return widths;
    int used = 0;
    for (std::size_t i = 0; i + 1 < wanted.size(); ++i) {
        const long long share = wanted[i] > 0 ? wanted[i] : 0;
        widths[i] = static_cast<int>(share * available / total);
        used += widths[i];
    }
    widths.back() = available - used;
    return widths;
}
