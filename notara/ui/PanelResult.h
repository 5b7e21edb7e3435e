#pragma once

#include <QString>

namespace notara {

// What a file panel delivers when it closes: a chosen path, nothing (cancelled) or an error.
struct PanelResult {
    enum class Outcome { Cancelled, Chosen, Failed };

    Outcome outcome = Outcome::Cancelled;
    QString path;
    QString errorDescription;

    static PanelResult cancelled() { return {}; }
    static PanelResult chosen(const QString& path) { return {Outcome::Chosen, path, {}}; }
    static PanelResult failed(const QString& description) { return {Outcome::Failed, {}, description}; }
};

} // namespace notara
