#include "logic/reorder.h"

namespace logic {

std::vector<int> OrderOfNames(const store::Catalogue& catalogue, const QStringList& names) {
    const auto count = static_cast<size_t>(catalogue.TitleCount);
    std::vector<int> order;
    order.reserve(count);
    std::vector<char> taken(count + 1, 0);
    for (const QString& name : names) {
        const int i = catalogue.IndexOf(name);
        if (i == 0 || taken[static_cast<size_t>(i)]) continue;
        taken[static_cast<size_t>(i)] = 1;
        order.push_back(i);
    }
    for (size_t i = 1; i <= count; ++i) {
        if (!taken[i]) order.push_back(static_cast<int>(i));
    }
    return order;
}

store::Status ReorderTitles(const store::Catalogue& catalogue, store::WorkingFolder& folder,
                            const std::vector<int>& order) {
    return catalogue.SaveTitleDataInOrder(folder, order);
}

}  // namespace logic
