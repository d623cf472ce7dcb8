#include "platform/engine_process.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>

namespace brindle {

namespace {

// A line longer than this is no answer of a brain.
constexpr size_t MaxLine = 4096;
constexpr int EndGrace = 1000;

int64_t nowMs() { return QDateTime::currentMSecsSinceEpoch(); }

// What the brain said, fit to be shown: printable, at most 60 characters.
std::string shown(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (out.size() >= 60) {
            out += "...";
            break;
        }
        const auto u = static_cast<unsigned char>(c);
        out += u >= 32 && u < 127 ? c : '?';
    }
    return out;
}

// "x,y" with both in 0..19, else false.
bool parseMove(const std::string& text, int32_t& x, int32_t& y)
{
    size_t comma = text.find(',');
    if (comma == std::string::npos || comma == 0 || comma + 1 >= text.size() || text.size() > 7)
        return false;
    int32_t value[2] = {0, 0};
    const std::string parts[2] = {text.substr(0, comma), text.substr(comma + 1)};
    for (int i = 0; i < 2; ++i) {
        for (char c : parts[i])
            if (c < '0' || c > '9')
                return false;
        value[i] = std::stoi(parts[i]);
    }
    x = value[0];
    y = value[1];
    return true;
}

std::string trimmed(const std::string& s)
{
    const size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos)
        return {};
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

} // namespace

EngineProcess::EngineProcess(QString program, QStringList arguments, Options options)
    : process_(new QProcess), options_(std::move(options)), program_(std::move(program)),
      arguments_(std::move(arguments)), name_(QFileInfo(program_).fileName().toStdString())
{
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (stage_ == Stage::Starting || stage_ == Stage::About)
            fail("did not answer START within " + std::to_string(options_.startMilliseconds / 1000) + " s.");
        else
            fail("answered late: no move within " + std::to_string(options_.turnMilliseconds + options_.lateMargin) +
                 " ms.");
    });
    process_->setProcessChannelMode(QProcess::SeparateChannels);
    // What the brain writes to its standard error is its own business.
    process_->setStandardErrorFile(QProcess::nullDevice());
    connect(process_, &QProcess::readyReadStandardOutput, this, &EngineProcess::readLines);
    connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            fail("did not start: " + process_->errorString().toStdString() + ".");
    });
    connect(process_, &QProcess::finished, this, [this] { fail("exited."); });
}

EngineProcess::~EngineProcess()
{
    QProcess* process = process_;
    process->disconnect(this);
    if (process->state() == QProcess::NotRunning) {
        delete process;
        return;
    }
    process->write("END\r\n");
    process->closeWriteChannel();
    if (QCoreApplication::instance() == nullptr || QCoreApplication::closingDown()) {
        if (!process->waitForFinished(EndGrace))
            process->kill(), process->waitForFinished(EndGrace);
        delete process;
        return;
    }
    // The window goes on at once; the process gets its second to end. Should
    // the event loop stop first, the application takes it along when it goes.
    process->setParent(QCoreApplication::instance());
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    QTimer::singleShot(EndGrace, process, [process] { process->kill(); });
}

void EngineProcess::start(std::function<void(const std::string&)> done)
{
    started_ = std::move(done);
    stage_ = Stage::Starting;
    timer_.start(options_.startMilliseconds);
    process_->start(program_, arguments_);
    send("START 20");
}

void EngineProcess::send(const std::string& text)
{
    if (process_->state() != QProcess::NotRunning)
        process_->write((text + "\r\n").c_str());
}

void EngineProcess::askMove(const Moves& moves, std::function<void(const Answer&)> answer)
{
    answer_ = std::move(answer);
    if (broken_) {
        Answer a;
        a.failure = "stopped working earlier.";
        QMetaObject::invokeMethod(this, [this, a] {
            if (answer_)
                std::exchange(answer_, nullptr)(a);
        }, Qt::QueuedConnection);
        return;
    }
    queued_ = moves;
    haveQueued_ = true;
    // A question asked while the brain still answers one is a new question:
    // that answer is not for it.
    answeringForgotten_ = answering_;
    if (!answering_ && stage_ == Stage::Ready)
        sendQuestion();
}

void EngineProcess::forget()
{
    answer_ = nullptr;
    haveQueued_ = false;
    answeringForgotten_ = answering_;
}

void EngineProcess::sendQuestion()
{
    haveQueued_ = false;
    answering_ = true;
    // The whole position every time: the brain's own stones are 1, the
    // other side's 2, in the order they were played.
    const size_t own = queued_.size() % 2;
    send("BOARD");
    for (size_t i = 0; i < queued_.size(); ++i)
        send(std::to_string(queued_[i][1]) + "," + std::to_string(queued_[i][0]) + "," + (i % 2 == own ? "1" : "2"));
    send("DONE");
    askedAt_ = nowMs();
    timer_.start(options_.turnMilliseconds + options_.lateMargin);
}

void EngineProcess::readLines()
{
    const QByteArray bytes = process_->readAllStandardOutput();
    for (char c : bytes) {
        if (broken_)
            return;
        if (c == '\r' || c == '\n') {
            if (!partial_.empty())
                line(std::exchange(partial_, {}));
            continue;
        }
        partial_ += c;
        if (partial_.size() > MaxLine)
            return fail("answered a line of over " + std::to_string(MaxLine) + " characters.");
    }
}

void EngineProcess::line(const std::string& raw)
{
    const std::string text = trimmed(raw);
    const std::string word = text.substr(0, text.find(' '));
    if (word == "MESSAGE" || word == "DEBUG" || text.empty())
        return;
    if (word == "ERROR")
        return fail("reported an error: " + shown(text.substr(std::min(text.size(), size_t{6}))));
    switch (stage_) {
    case Stage::Starting:
        if (text != "OK")
            return fail("did not accept a 20 x 20 board: \"" + shown(text) + "\"");
        send("INFO timeout_turn " + std::to_string(options_.turnMilliseconds));
        send("INFO timeout_match 0");
        send("INFO max_memory 0");
        send("INFO game_type 1");
        send("INFO rule 0");
        if (!options_.folder.empty())
            send("INFO folder " + options_.folder);
        send("ABOUT");
        stage_ = Stage::About;
        return;
    case Stage::About: {
        const size_t key = text.find("name=\"");
        if (key != std::string::npos) {
            const size_t end = text.find('"', key + 6);
            const std::string name = shown(text.substr(key + 6, end == std::string::npos ? end : end - key - 6));
            if (!name.empty())
                name_ = name;
        }
        stage_ = Stage::Ready;
        timer_.stop();
        if (started_)
            std::exchange(started_, nullptr)("");
        if (haveQueued_)
            sendQuestion();
        return;
    }
    case Stage::Ready:
        break;
    case Stage::Idle:
        return;
    }
    int32_t x = -1, y = -1;
    if (!answering_ || !parseMove(text, x, y))
        return fail("answered something that is not a move: \"" + shown(text) + "\"");
    answering_ = false;
    timer_.stop();
    slowest_ = std::max(slowest_, nowMs() - askedAt_);
    if (!std::exchange(answeringForgotten_, false) && answer_) {
        Answer a;
        a.row = y;
        a.col = x;
        std::exchange(answer_, nullptr)(a);
    }
    if (haveQueued_ && !broken_)
        sendQuestion();
}

void EngineProcess::fail(const std::string& what)
{
    if (broken_)
        return;
    broken_ = true;
    timer_.stop();
    process_->disconnect(this);
    if (process_->state() != QProcess::NotRunning)
        process_->kill();
    Answer a;
    a.failure = what;
    if (started_)
        return std::exchange(started_, nullptr)(what);
    if (answer_)
        std::exchange(answer_, nullptr)(a);
}

} // namespace brindle
