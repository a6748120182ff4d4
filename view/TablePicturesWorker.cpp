#include "view/TablePicturesWorker.h"

#include "document/TablePictures.h"
#include "view/TablePictureWidget.h"

#include <utility>

TablePicturesWorker::TablePicturesWorker(std::function<void(const Result&)> ready, QObject* parent)
    : QObject(parent), m_ready(std::move(ready))
{
    m_pool.setMaxThreadCount(1);
}

TablePicturesWorker::~TablePicturesWorker()
{
    m_pool.waitForDone();
}

void TablePicturesWorker::Start(Request request)
{
    ++m_generation;
    m_pending = std::move(request);
    if (!m_bRunning)
        RunNext();
}

void TablePicturesWorker::Cancel()
{
    ++m_generation;
    m_pending.reset();
}

void TablePicturesWorker::RunNext()
{
    if (!m_pending.has_value())
        return;
    m_bRunning = true;
    Request request = std::move(*m_pending);
    m_pending.reset();
    const unsigned long long generation = m_generation;
    m_pool.start([this, generation, request = std::move(request)] {
        const Result result = Compute(request);
        QMetaObject::invokeMethod(
            this, [this, generation, result] { Finished(generation, result); },
            Qt::QueuedConnection);
    });
}

void TablePicturesWorker::Finished(unsigned long long generation, const Result& result)
{
    m_bRunning = false;
    if (generation == m_generation)
        m_ready(result);
    RunNext();
}

TablePicturesWorker::Result TablePicturesWorker::Compute(const Request& request)
{
    Result result;
    result.request = request;
    result.tables = request.maker->Make(request.palette, request.withTransparency);
    if (request.stored != nullptr)
        result.changes = CompareTables(*request.stored, *result.tables);
    const colormap_tables::Palette& palette = result.tables->palette;
    result.lightLevels = TablePictureWidget::ToImage(
        table_pictures::LightLevels(palette, result.tables->lightLevels));
    if (result.tables->HasTransparency())
        result.translucency = TablePictureWidget::ToImage(
            table_pictures::Translucency(palette, result.tables->transparency));
    return result;
}
