#include "custom/layout.h"

namespace perlinex::custom {

Layout Layout::defaults(const FieldCatalogue& catalogue, const QString& useWith) {
    Layout layout;
    layout.useWith = useWith;
    layout.settings.resize(std::size_t(catalogue.maxSpecId()) + 1);
    for (const SpecRow& row : catalogue.rows()) {
        FieldSettings& s = layout.setting(row.specid);
        s.colWidth = row.defaultWidth;
        s.isCurrency = row.isCurrency;
    }
    return layout;
}

} // namespace perlinex::custom
