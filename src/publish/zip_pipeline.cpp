#include "publish/zip_pipeline.h"

namespace publish::detail {

namespace {

// Thrown through the encoder when the writer no longer wants the entry.
struct Cancelled {};

} // namespace

EntryJob::EntryJob(EntrySource source, std::size_t buffer_limit)
    : m_source(std::move(source)), m_nBufferLimit(buffer_limit) {}

void EntryJob::push(std::span<const std::uint8_t> bytes) {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_bCancelled || m_nBuffered < m_nBufferLimit; });
    if (m_bCancelled) {
        throw Cancelled{};
    }
    m_pieces.emplace_back(bytes.begin(), bytes.end());
    m_nBuffered += bytes.size();
    m_changed.notify_all();
}

void EntryJob::run() {
    {
        std::lock_guard lock(m_mutex);
        if (m_bCancelled) {
            m_bDone = true;
            return;
        }
    }
    EntryData result;
    std::exception_ptr error;
    try {
        result = EncodeEntryData(m_source, [this](std::span<const std::uint8_t> bytes) { push(bytes); });
    } catch (const Cancelled&) {
    } catch (...) {
        error = std::current_exception();
    }
    m_source.file = FileHandle();
    std::lock_guard lock(m_mutex);
    m_result = result;
    m_error = error;
    m_bDone = true;
    m_changed.notify_all();
}

bool EntryJob::next_piece(std::vector<std::uint8_t>& piece) {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return !m_pieces.empty() || m_bDone; });
    if (!m_pieces.empty()) {
        piece = std::move(m_pieces.front());
        m_pieces.pop_front();
        m_nBuffered -= piece.size();
        m_changed.notify_all();
        return true;
    }
    if (m_error) {
        std::rethrow_exception(m_error);
    }
    return false;
}

EntryData EntryJob::result() const {
    std::lock_guard lock(m_mutex);
    return m_result;
}

bool EntryJob::is_done() const {
    std::lock_guard lock(m_mutex);
    return m_bDone;
}

void EntryJob::cancel() {
    std::lock_guard lock(m_mutex);
    m_bCancelled = true;
    m_changed.notify_all();
}

CompressionPool::CompressionPool(unsigned threads) {
    for (unsigned i = 0; i < threads; ++i) {
        m_workers.emplace_back([this](std::stop_token stop) { work(stop); });
    }
}

CompressionPool::~CompressionPool() {
    for (std::jthread& worker : m_workers) {
        worker.request_stop();
    }
    m_available.notify_all();
    m_workers.clear(); // joins
}

void CompressionPool::submit(std::shared_ptr<EntryJob> job) {
    {
        std::lock_guard lock(m_mutex);
        m_queue.push_back(std::move(job));
    }
    m_available.notify_one();
}

void CompressionPool::work(std::stop_token stop) {
    for (;;) {
        std::shared_ptr<EntryJob> job;
        {
            std::unique_lock lock(m_mutex);
            m_available.wait(lock, stop, [&] { return !m_queue.empty(); });
            if (stop.stop_requested()) {
                return;
            }
            job = std::move(m_queue.front());
            m_queue.pop_front();
        }
        job->run();
    }
}

} // namespace publish::detail
