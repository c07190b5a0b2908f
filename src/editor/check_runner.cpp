#include "editor/check_runner.h"

#include "check/glyph_tips.h"

#include <QCoreApplication>

namespace editor {

CheckRunner::CheckRunner(Document& document, const app::Workspace& workspace, QObject* parent)
    : QObject(parent), m_document(document), m_workspace(workspace) {
    m_pool.setMaxThreadCount(1);
    m_delay.setSingleShot(true);
    m_delay.setInterval(250);
    connect(&m_delay, &QTimer::timeout, this, &CheckRunner::start);
    connect(&document, &Document::restructured, this, &CheckRunner::schedule);
    connect(&document, &Document::cardChanged, this, &CheckRunner::schedule);
    connect(&document, &Document::linkChanged, this, &CheckRunner::schedule);
    connect(&document, &Document::settingsChanged, this, &CheckRunner::schedule);
}

CheckRunner::~CheckRunner() {
    m_pool.waitForDone();
}

check::CheckOptions CheckRunner::Options(const model::ProjectSettings& settings) {
    if (!m_glyphLoaded || settings.m_strFont != m_glyphFace) {
        m_glyphTip = check::MakeGlyphTip(settings, m_workspace);
        m_glyphFace = settings.m_strFont;
        m_glyphLoaded = true;
    }
    return {m_workspace.DataRoot(), m_glyphTip};
}

std::vector<check::Finding> CheckRunner::checkNow() {
    m_pool.waitForDone(); // the glyph test is not shared between threads
    return check::CheckProject(m_document.project(), Options(m_document.project().settings));
}

void CheckRunner::schedule() {
    m_delay.start();
}

void CheckRunner::start() {
    if (m_running) {
        m_pending = true; // the newest project is checked when this run ends
        return;
    }
    m_running = true;
    m_pending = false;
    auto snapshot = std::make_shared<model::Project>(m_document.project().Clone());
    m_pool.start([this, snapshot] {
        Result result;
        result.findings = check::CheckProject(*snapshot, Options(snapshot->settings));
        try {
            result.map = check::LayOutStoryMap(*snapshot);
        } catch (const std::exception& e) {
            result.mapError = QString::fromStdString(e.what());
        }
        result.project = std::move(*snapshot);
        // The runner outlives this job (its destructor waits), and a posted call to it is delivered on
        // the GUI thread.
        QMetaObject::invokeMethod(
            this,
            [this, r = std::make_shared<Result>(std::move(result))]() mutable { finish(std::move(*r)); },
            Qt::QueuedConnection);
    });
}

void CheckRunner::finish(Result result) {
    m_running = false;
    m_findings = std::move(result.findings);
    m_map = std::move(result.map);
    m_mapError = std::move(result.mapError);
    m_checked = std::move(result.project);
    emit updated();
    if (m_pending) {
        start();
    }
}

void CheckRunner::waitForIdle() {
    if (m_delay.isActive()) {
        m_delay.stop();
        start();
    }
    while (m_running) {
        m_pool.waitForDone();
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    }
}

} // namespace editor
