#include "instrument/transports/LinuxGpibTransport.h"

#include "core/TextCatalogue.h"
#include "instrument/sicl/OpenProblem.h"
#include "instrument/sicl/Sicl.h"
#include "instrument/transports/AdapterLine.h"
#include "instrument/transports/SharedLibrary.h"

#include <QByteArray>

#include <array>

namespace ymt::sicl {
namespace {

// ibsta bits.
constexpr int kStatusError = 0x8000;
constexpr int kStatusTimeout = 0x4000;
constexpr int kStatusEnd = 0x2000;
// ibdev's eos argument: end reads on this byte (REOS) as well as on EOI.
constexpr int kReadEndOnEos = 0x0400;
constexpr int kEosLineFeed = '\n';

// The library's functions, looked up once; null with *problem when it cannot serve.
const GpibApi* gpibApi(const QString& libraryName, QString* problem) {
    static std::map<QString, GpibApi> apis;
    const QStringList names = libraryName.isEmpty() ? QStringList{QStringLiteral("libgpib.so.0")}
                                                    : QStringList{libraryName};
    SharedLibrary* library = SharedLibrary::load(names, problem);
    if (!library)
        return nullptr;
    if (auto found = apis.find(library->name()); found != apis.end())
        return &found->second;
    GpibApi api;
    const char* missing = nullptr;
    if (!library->resolve(api.ibdev, "ibdev"))
        missing = "ibdev";
    else if (!library->resolve(api.ibwrt, "ibwrt"))
        missing = "ibwrt";
    else if (!library->resolve(api.ibrd, "ibrd"))
        missing = "ibrd";
    else if (!library->resolve(api.ibrsp, "ibrsp"))
        missing = "ibrsp";
    else if (!library->resolve(api.ibclr, "ibclr"))
        missing = "ibclr";
    else if (!library->resolve(api.ibtmo, "ibtmo"))
        missing = "ibtmo";
    else if (!library->resolve(api.ibonl, "ibonl"))
        missing = "ibonl";
    else if (!library->resolve(api.threadIbcntl, "ThreadIbcntl") &&
             !library->resolve(api.globalIbcntl, "ibcntl"))
        missing = "ThreadIbcntl";
    if (missing) {
        *problem = Text(Txt::IoLibraryLacksFunction).arg(library->name(), QLatin1String(missing));
        return nullptr;
    }
    library->resolve(api.ibloc, "ibloc");
    library->resolve(api.ibln, "ibln");
    library->resolve(api.threadIberr, "ThreadIberr");
    return &apis.emplace(library->name(), api).first->second;
}

class LinuxGpibTransport : public Transport {
public:
    LinuxGpibTransport(const GpibApi& api, int descriptor) : api(api), ud(descriptor) {}

    int write(const char* data, std::size_t count, bool end, std::size_t* actual) override {
        *actual = 0;
        pending.append(data, static_cast<qsizetype>(count));
        if (!end) {
            // EOI goes with the last byte of every ibwrt, so a message goes out whole.
            *actual = count;
            return I_ERR_NOERROR;
        }
        const QByteArray message = std::exchange(pending, QByteArray());
        const int status = api.ibwrt(ud, message.constData(), message.size());
        const long sent = api.count();
        if (status & kStatusError)
            return status & kStatusTimeout ? I_ERR_TIMEOUT : I_ERR_IO;
        if (sent != message.size())
            return I_ERR_IO; // a short write is a failure, not a success
        *actual = count;
        return I_ERR_NOERROR;
    }

    int read(char* buffer, std::size_t size, int* reason, std::size_t* actual) override {
        *reason = 0;
        *actual = 0;
        if (size == 0)
            return I_ERR_NOERROR;
        const int status = api.ibrd(ud, buffer, static_cast<long>(size));
        const long got = api.count();
        *actual = got > 0 ? std::min(std::size_t(got), size) : 0;
        if (status & kStatusError)
            return status & kStatusTimeout ? I_ERR_TIMEOUT : I_ERR_IO;
        if (status & kStatusEnd)
            *reason |= I_TERM_END;
        if (*actual == size)
            *reason |= I_TERM_MAXCNT;
        return I_ERR_NOERROR;
    }

    int readStatusByte(unsigned char* status) override {
        char byte = 0;
        const int result = api.ibrsp(ud, &byte);
        *status = static_cast<unsigned char>(byte);
        if (result & kStatusError)
            return result & kStatusTimeout ? I_ERR_TIMEOUT : I_ERR_IO;
        return I_ERR_NOERROR;
    }

    int clear() override {
        pending.clear();
        return (api.ibclr(ud) & kStatusError) ? I_ERR_IO : I_ERR_NOERROR;
    }

    int setTimeout(long ms) override {
        return (api.ibtmo(ud, linuxGpibTimeoutCode(ms)) & kStatusError) ? I_ERR_IO : I_ERR_NOERROR;
    }

    int serialControl(int, unsigned long) override { return I_ERR_NOTSUPP; }

    void close() override {
        if (ud < 0)
            return;
        // Back to local, so that the operator's front panel is not left locked.
        if (api.ibloc)
            api.ibloc(ud);
        api.ibonl(ud, 0);
        ud = -1;
    }

    ~LinuxGpibTransport() override { close(); }

private:
    const GpibApi& api;
    int ud;
    QByteArray pending;
};

} // namespace

int linuxGpibTimeoutCode(long ms) {
    if (ms <= 0)
        return 0;
    // Codes 1-17: 10 us, 30 us, 100 us ... 1000 s, in the 1-3-10 steps of the library.
    static constexpr std::array<double, 17> limitsMs = {
        0.01, 0.03, 0.1, 0.3, 1, 3, 10, 30, 100, 300, 1000, 3000, 1e4, 3e4, 1e5, 3e5, 1e6};
    for (std::size_t code = 0; code < limitsMs.size(); ++code)
        if (limitsMs[code] >= double(ms))
            return int(code) + 1;
    return 17;
}

TransportFactory makeLinuxGpibTransportFactory() {
    return [](const DeviceAddress& address, const QString& parameters, const SiclConfig&,
              int* error) -> std::unique_ptr<Transport> {
        AdapterLine line;
        QString problem;
        if (!readAdapterLineForOpen(QStringLiteral("linux-gpib"), address.interfaceName, parameters,
                                    line, error))
            return nullptr;
        if (address.isSerial()) {
            *error = I_ERR_BADADDR;
            return nullptr;
        }
        const GpibApi* api = gpibApi(line.library, &problem);
        if (!api) {
            reportOpenProblem(QStringLiteral("linux-gpib: ") + problem);
            *error = I_ERR_NOCONN;
            return nullptr;
        }
        const int pad = address.primaryAddress;
        const int ud = api->ibdev(line.boardIndex, pad, 0, linuxGpibTimeoutCode(2000), 1,
                                  kReadEndOnEos | kEosLineFeed);
        if (ud < 0) {
            reportOpenProblem(
                QStringLiteral("linux-gpib: ") +
                Text(Txt::IoGpibIbdevFailed).arg(line.boardIndex).arg(pad).arg(api->error()));
            *error = I_ERR_NOCONN;
            return nullptr;
        }
        // ibdev succeeds for any address; a listener there is what makes the device reachable.
        short listener = 1;
        if (api->ibln && !(api->ibln(ud, pad, 0, &listener) & kStatusError) && !listener) {
            api->ibonl(ud, 0);
            reportOpenProblem(QStringLiteral("linux-gpib: ") +
                              Text(Txt::IoGpibNoListener).arg(pad).arg(line.boardIndex));
            *error = I_ERR_NOCONN;
            return nullptr;
        }
        return makeLinuxGpibTransport(*api, ud);
    };
}

std::unique_ptr<Transport> makeLinuxGpibTransport(const GpibApi& api, int descriptor) {
    return std::make_unique<LinuxGpibTransport>(api, descriptor);
}

} // namespace ymt::sicl
