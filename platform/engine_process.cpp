#include "platform/engine_process.h"

#include <algorithm>

#include <QFileInfo>

namespace brindle {

BrainEnder::~BrainEnder()
{
    // No event loop serves the grace any more: each process gets what is left
    // of its second here, then is killed.
    for (auto& process : ending_) {
        process->disconnect(this);
        if (!process->waitForFinished(GraceMilliseconds)) {
            process->kill();
            process->waitForFinished(GraceMilliseconds);
        }
    }
}

void BrainEnder::end(std::unique_ptr<QProcess> process)
{
    process->disconnect();
    if (process->state() == QProcess::NotRunning)
        return;
    process->write("END\r\n");
    process->closeWriteChannel();
    QProcess* p = process.get();
    ending_.push_back(std::move(process));
    const auto forget = [this, p] {
        const auto it = std::find_if(ending_.begin(), ending_.end(), [p](const auto& e) { return e.get() == p; });
        if (it != ending_.end()) {
            it->release()->deleteLater();
            ending_.erase(it);
        }
    };
    connect(p, &QProcess::finished, this, forget);
    QTimer::singleShot(GraceMilliseconds, p, [p] { p->kill(); });
}

std::unique_ptr<EngineProcess> EngineProcess::twin() const
{
    return std::make_unique<EngineProcess>(program_, arguments_, options_, ender_);
}

EngineProcess::EngineProcess(QString program, QStringList arguments, Options options, BrainEnder& ender)
    : manager_(options, QFileInfo(program).fileName().toStdString()), options_(std::move(options)), process_(std::make_unique<QProcess>()),
      ender_(ender), program_(std::move(program)), arguments_(std::move(arguments))
{
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] { act(manager_.timeUp(steadyMilliseconds())); });
    process_->setProcessChannelMode(QProcess::SeparateChannels);
    // What the brain writes to its standard error is its own business.
    process_->setStandardErrorFile(QProcess::nullDevice());
    connect(process_.get(), &QProcess::readyReadStandardOutput, this, [this] {
        const QByteArray bytes = process_->readAllStandardOutput();
        act(manager_.received(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), steadyMilliseconds()));
    });
    connect(process_.get(), &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            act(manager_.ended("did not start: " + process_->errorString().toStdString() + "."));
    });
    connect(process_.get(), &QProcess::finished, this, [this] { act(manager_.ended("exited.")); });
}

EngineProcess::~EngineProcess()
{
    ender_.end(std::move(process_));
}

void EngineProcess::start(std::function<void(const std::string&)> done)
{
    started_ = std::move(done);
    process_->start(program_, arguments_);
    act(manager_.start(steadyMilliseconds()));
}

void EngineProcess::askMove(const Moves& moves, std::function<void(const Answer&)> answer)
{
    answer_ = std::move(answer);
    const engine::BrainManager::Step step = manager_.ask(moves, steadyMilliseconds());
    // Never back into the asker's own call: a brain that failed earlier says so from the event loop.
    QMetaObject::invokeMethod(this, [this, step] { act(step); }, Qt::QueuedConnection);
}

void EngineProcess::forget()
{
    answer_ = nullptr;
    manager_.forget();
}

void EngineProcess::act(const engine::BrainManager::Step& step)
{
    if (process_->state() != QProcess::NotRunning)
        for (const std::string& line : step.send)
            process_->write((line + "\r\n").c_str());
    if (const auto end = manager_.deadline())
        timer_.start(static_cast<int>(std::max<int64_t>(*end - steadyMilliseconds(), 0)));
    else
        timer_.stop();
    if (!step.failure.empty()) {
        // Asked nothing more, and gone at once.
        process_->disconnect(this);
        if (process_->state() != QProcess::NotRunning)
            process_->kill();
        if (started_)
            return std::exchange(started_, nullptr)(step.failure);
        Answer a;
        a.failure = step.failure;
        if (answer_)
            std::exchange(answer_, nullptr)(a);
        return;
    }
    if (step.ready && started_)
        std::exchange(started_, nullptr)("");
    if (step.answer && answer_)
        std::exchange(answer_, nullptr)(*step.answer);
}

} // namespace brindle
