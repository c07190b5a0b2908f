// Deflating several entries at once: worker threads encode the entries' data while the writer takes
// the output of the oldest entry in order. Each entry buffers a bounded amount of output, and the
// writer keeps only a few entries in flight, so memory stays bounded whatever the files' sizes.
#pragma once

#include "publish/zip_entry_data.h"

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace publish::detail {

// One entry's data on its way from a worker to the writer.
class EntryJob {
public:
    EntryJob(EntrySource source, std::size_t buffer_limit);

    // Worker side: encodes the source, waiting whenever the buffered output reaches the limit.
    void run();

    // Writer side: waits for the next piece of output; false once the data is complete. Throws
    // ZipSourceError (or the worker's other failure) when encoding failed.
    bool next_piece(std::vector<std::uint8_t>& piece);
    EntryData result() const;
    bool is_done() const;

    // Stops the worker at its next piece; the entry will not be written.
    void cancel();

private:
    void push(std::span<const std::uint8_t> bytes);

    EntrySource m_source;
    const std::size_t m_nBufferLimit;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::vector<std::uint8_t>> m_pieces;
    std::size_t m_nBuffered = 0;
    bool m_bDone = false;
    bool m_bCancelled = false;
    std::exception_ptr m_error;
    EntryData m_result;
};

// A fixed set of worker threads taking jobs first in, first out.
class CompressionPool {
public:
    explicit CompressionPool(unsigned threads);
    ~CompressionPool();
    CompressionPool(const CompressionPool&) = delete;
    CompressionPool& operator=(const CompressionPool&) = delete;

    void submit(std::shared_ptr<EntryJob> job);

private:
    void work(std::stop_token stop);

    std::mutex m_mutex;
    std::condition_variable_any m_available;
    std::deque<std::shared_ptr<EntryJob>> m_queue;
    std::vector<std::jthread> m_workers;
};

} // namespace publish::detail
