#pragma once

#include <QRandomGenerator>

#include <string>

namespace notara {

/// Random (version 4) UUIDs in upper-case text form for the annotations of sources that have no
/// ids of their own. One generator per import, seeded from the system's entropy source, because
/// asking that source for every annotation costs more than parsing a whole notebook.
class AnnotationIDs {
public:
    AnnotationIDs();

    std::string next();

private:
    QRandomGenerator64 random_;
};

} // namespace notara
