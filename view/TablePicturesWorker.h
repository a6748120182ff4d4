#pragma once

#include "document/ColormapTableMaker.h"
#include "document/TableComparison.h"

#include <QImage>
#include <QObject>
#include <QThreadPool>

#include <functional>
#include <memory>
#include <optional>

// Computes a colormap's tables and their pictures on a thread of its own,
// one request at a time. A request made while one runs waits, replaced by
// any later one, and a result is handed on only while its request is the
// latest: the latest change wins, and nothing half made or out of date is
// ever shown.
class TablePicturesWorker : public QObject {
    Q_OBJECT

public:
    struct Request {
        std::shared_ptr<ColormapTableMaker> maker;
        colormap_tables::Palette palette{};
        bool withTransparency = false;
        // The tables the file holds, to compare with.
        ColormapTableMaker::TablesPtr stored;
        // The document's last answer to the transparency question.
        int transparencyAnswer = 0;
    };
    struct Result {
        Request request;
        ColormapTableMaker::TablesPtr tables;
        std::optional<TableChanges> changes; // with stored tables only
        QImage lightLevels;
        QImage translucency; // null when the tables have none
    };

    // `ready` runs on the thread the worker belongs to.
    explicit TablePicturesWorker(std::function<void(const Result&)> ready,
                                 QObject* parent = nullptr);
    // Waits for the computation that runs.
    ~TablePicturesWorker() override;

    void Start(Request request);
    // Drops every request made so far and their results.
    void Cancel();
    // Nothing runs or waits.
    bool IsIdle() const { return !m_bRunning && !m_pending.has_value(); }

    // The work itself, on whatever thread calls it.
    static Result Compute(const Request& request);

private:
    void RunNext();
    void Finished(unsigned long long generation, const Result& result);

    std::function<void(const Result&)> m_ready;
    QThreadPool m_pool;
    std::optional<Request> m_pending;
    unsigned long long m_generation = 0;
    bool m_bRunning = false;
};
