#include "venue/VenueStoreReader.h"

#include "db/Database.h"
#include "db/Format.h"
#include "db/Recordset.h"
#include "db/StoreAddress.h"
#include "venue/VenueConnection.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <optional>
#include <shared_mutex>
#include <thread>
#include <vector>

namespace {

// A request the reading thread has not answered in this time (the store
// kept locked by a long write, say) gets no event: its page says "try
// again".
constexpr auto kReadWait = std::chrono::seconds(12);

// SQLite's file change counter: bytes 24 to 27 of the file's header, which
// every transaction that changes the file moves on. It is read from the
// file itself, so that any thread may ask whether the file has changed
// without a connection, and nothing is locked. A file in WAL mode (bytes 18
// and 19 are 2) does not move it on: then there is no answer.
class FileChangeCounter {
public:
    explicit FileChangeCounter(const QString& path)
        : m_fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC))
    {
    }
    ~FileChangeCounter()
    {
        if (m_fd >= 0) ::close(m_fd);
    }
    FileChangeCounter(const FileChangeCounter&) = delete;
    FileChangeCounter& operator=(const FileChangeCounter&) = delete;

    std::optional<quint32> Read() const
    {
        unsigned char header[28];
        if (m_fd < 0 || ::pread(m_fd, header, sizeof header, 0) != ssize_t(sizeof header)) return {};
        if (header[18] == 2 || header[19] == 2) return {};
        return quint32(header[24]) << 24 | quint32(header[25]) << 16 | quint32(header[26]) << 8 | quint32(header[27]);
    }

private:
    int m_fd = -1;
};

}  // namespace

class VenueStoreReader::Thread {
public:
    explicit Thread(const QString& connectString);
    ~Thread();

    std::shared_ptr<const VenueSnapshot> Now(int tournamentID);

    std::atomic<long long> reads{0};

private:
    struct Request {
        int tournamentID = -1;
        std::shared_ptr<const VenueSnapshot> answer;
        bool answered = false;
    };

    void Run(const QString& connectString, std::promise<void>& opened);
    void Answer(std::vector<std::shared_ptr<Request>>& batch);
    std::shared_ptr<const VenueSnapshot> Current() const;
    void SetCurrent(std::shared_ptr<const VenueSnapshot> snapshot, std::optional<quint32> fileMark);

    std::unique_ptr<FileChangeCounter> m_counter;
    std::thread m_thread;

    std::mutex m_mutex;
    std::condition_variable m_work;      // a request is waiting, or the reader stops
    std::condition_variable m_answered;  // a batch has been answered
    std::vector<std::shared_ptr<Request>> m_waiting;
    bool m_stopping = false;

    // The event read last, and the file's counter when it was read.
    mutable std::shared_mutex m_currentMutex;
    std::shared_ptr<const VenueSnapshot> m_current;
    std::optional<quint32> m_currentFileMark;
};

VenueStoreReader::Thread::Thread(const QString& connectString)
{
    const StoreAddress store = StoreAddressOf(connectString);
    if (store.kind == StoreKind::File)
        m_counter = std::make_unique<FileChangeCounter>(QFileInfo(store.database).absoluteFilePath());
    std::promise<void> opened;
    std::future<void> ready = opened.get_future();
    m_thread = std::thread([this, connectString, &opened] { Run(connectString, opened); });
    try {
        ready.get();
    } catch (...) {
        m_thread.join();
        throw;
    }
}

VenueStoreReader::Thread::~Thread()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_work.notify_all();
    m_thread.join();
}

std::shared_ptr<const VenueSnapshot> VenueStoreReader::Thread::Current() const
{
    std::shared_lock lock(m_currentMutex);
    return m_current;
}

void VenueStoreReader::Thread::SetCurrent(std::shared_ptr<const VenueSnapshot> snapshot,
                                          std::optional<quint32> fileMark)
{
    std::unique_lock lock(m_currentMutex);
    m_current = std::move(snapshot);
    m_currentFileMark = fileMark;
}

std::shared_ptr<const VenueSnapshot> VenueStoreReader::Thread::Now(int tournamentID)
{
    if (m_counter) {
        const std::optional<quint32> mark = m_counter->Read();
        std::shared_lock lock(m_currentMutex);
        if (mark && m_current && mark == m_currentFileMark && m_current->tournamentID == tournamentID)
            return m_current;
    }
    auto request = std::make_shared<Request>();
    request->tournamentID = tournamentID;
    std::unique_lock lock(m_mutex);
    m_waiting.push_back(request);
    m_work.notify_one();
    if (!m_answered.wait_for(lock, kReadWait, [&] { return request->answered; })) return {};
    return request->answer;
}

void VenueStoreReader::Thread::Run(const QString& connectString, std::promise<void>& opened)
{
    // This thread keeps the priority of the window's: while it reads, the
    // file is locked against the desk's writes, which must not wait for it.
    try {
        OpenVenueConnection(connectString);
    } catch (...) {
        opened.set_exception(std::current_exception());
        return;
    }
    opened.set_value();
    for (;;) {
        std::vector<std::shared_ptr<Request>> batch;
        {
            std::unique_lock lock(m_mutex);
            m_work.wait(lock, [this] { return m_stopping || !m_waiting.empty(); });
            if (m_waiting.empty()) break;  // stopping, and nobody waits
            batch.swap(m_waiting);
        }
        Answer(batch);
        {
            std::lock_guard lock(m_mutex);
            for (const std::shared_ptr<Request>& request : batch) request->answered = true;
        }
        m_answered.notify_all();
    }
    SetCurrent({}, {});
    CDatabase::Close();
}

// Every request of the batch came in before the store is asked here whether
// it has changed, so each gets what the store holds now.
void VenueStoreReader::Thread::Answer(std::vector<std::shared_ptr<Request>>& batch)
{
    try {
        const std::optional<quint32> fileMark = m_counter ? m_counter->Read() : std::nullopt;
        const QString mark = fileMark ? QStringLiteral("file %1").arg(*fileMark)
                                      : QStringLiteral("store ") + CDatabase::ChangeMark();
        for (const std::shared_ptr<Request>& request : batch) {
            const std::shared_ptr<const VenueSnapshot> current = Current();
            if (!current || current->mark != mark || current->tournamentID != request->tournamentID) {
                // What the events and pages before took goes back to the
                // system, while the requests wait for the read anyway.
                ::malloc_trim(0);
                auto snapshot = std::make_shared<VenueSnapshot>();
                snapshot->mark = mark;
                snapshot->tournamentID = request->tournamentID;
                if (request->tournamentID >= 0 &&
                    RecordExists(Sql("select id from Tournament where id = %d", request->tournamentID))) {
                    snapshot->event = std::make_shared<const VenueEvent>(ReadVenueEvent(request->tournamentID));
                    ++reads;
                }
                SetCurrent(std::move(snapshot), fileMark);
            }
            request->answer = Current();
        }
    } catch (const std::exception&) {
        // The store could not be read just now; the next request reads
        // afresh.
        SetCurrent({}, {});
        for (const std::shared_ptr<Request>& request : batch) request->answer.reset();
    }
}

VenueStoreReader::VenueStoreReader(const QString& connectString) : m_thread(std::make_unique<Thread>(connectString))
{
}

VenueStoreReader::~VenueStoreReader() = default;

std::shared_ptr<const VenueSnapshot> VenueStoreReader::Now(int tournamentID) { return m_thread->Now(tournamentID); }

long long VenueStoreReader::Reads() const { return m_thread->reads; }
