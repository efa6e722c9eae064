#include "instrument/transports/VisaTransport.h"

#include "core/TextCatalogue.h"
#include "instrument/sicl/OpenProblem.h"
#include "instrument/sicl/Sicl.h"
#include "instrument/transports/AdapterLine.h"
#include "instrument/transports/SharedLibrary.h"

#include <QByteArray>

#include <algorithm>
#include <cstdint>
#include <map>
#include <utility>

namespace ymt::sicl {
namespace {

constexpr ViStatus kSuccess = 0;
constexpr ViStatus kSuccessTermChar = 0x3FFF0005;
constexpr ViStatus kSuccessMaxCount = 0x3FFF0006;
constexpr ViStatus kErrorTimeout = static_cast<ViStatus>(0xBFFF0015u);
constexpr ViStatus kErrorResourceNotFound = static_cast<ViStatus>(0xBFFF0011u);
constexpr ViAttr kAttrTimeout = 0x3FFF001A;
constexpr ViAttr kAttrTermChar = 0x3FFF0018;
constexpr ViAttr kAttrTermCharEnabled = 0x3FFF0038;
constexpr ViAttr kAttrSendEnd = 0x3FFF0016;
constexpr unsigned long kInfiniteTimeout = 0xFFFFFFFFul;
constexpr std::uint16_t kGpibAddressGoToLocal = 6; // VI_GPIB_REN_ADDRESS_GTL

QString statusText(ViStatus status) {
    return QStringLiteral("0x%1").arg(static_cast<std::uint32_t>(status), 8, 16, QLatin1Char('0'));
}

const VisaApi* visaApi(const QString& libraryName, QString* problem) {
    static std::map<QString, VisaApi> apis;
    const QStringList names = libraryName.isEmpty() ? QStringList{QStringLiteral("libvisa.so"),
                                                                  QStringLiteral("libvisa.so.0")}
                                                    : QStringList{libraryName};
    SharedLibrary* library = SharedLibrary::load(names, problem);
    if (!library)
        return nullptr;
    if (auto found = apis.find(library->name()); found != apis.end())
        return &found->second;
    VisaApi api;
    const char* missing = nullptr;
    if (!library->resolve(api.viOpenDefaultRM, "viOpenDefaultRM"))
        missing = "viOpenDefaultRM";
    else if (!library->resolve(api.viOpen, "viOpen"))
        missing = "viOpen";
    else if (!library->resolve(api.viClose, "viClose"))
        missing = "viClose";
    else if (!library->resolve(api.viWrite, "viWrite"))
        missing = "viWrite";
    else if (!library->resolve(api.viRead, "viRead"))
        missing = "viRead";
    else if (!library->resolve(api.viReadSTB, "viReadSTB"))
        missing = "viReadSTB";
    else if (!library->resolve(api.viClear, "viClear"))
        missing = "viClear";
    else if (!library->resolve(api.viSetAttribute, "viSetAttribute"))
        missing = "viSetAttribute";
    if (missing) {
        *problem = Text(Txt::IoLibraryLacksFunction).arg(library->name(), QLatin1String(missing));
        return nullptr;
    }
    library->resolve(api.viGpibControlREN, "viGpibControlREN");
    if (const ViStatus status = api.viOpenDefaultRM(&api.manager); status < kSuccess) {
        *problem = Text(Txt::IoVisaNoResourceManager).arg(library->name(), statusText(status));
        return nullptr;
    }
    return &apis.emplace(library->name(), api).first->second;
}

int errorOf(ViStatus status) {
    if (status >= kSuccess)
        return I_ERR_NOERROR;
    return status == kErrorTimeout ? I_ERR_TIMEOUT : I_ERR_IO;
}

class VisaTransport : public Transport {
public:
    VisaTransport(const VisaApi& api, ViSession session) : api(api), vi(session) {}
    ~VisaTransport() override { close(); }

    int write(const char* data, std::size_t count, bool end, std::size_t* actual) override {
        *actual = 0;
        pending.append(data, static_cast<qsizetype>(count));
        if (!end) {
            // END goes with the last byte of every viWrite, so a message goes out whole.
            *actual = count;
            return I_ERR_NOERROR;
        }
        const QByteArray message = std::exchange(pending, QByteArray());
        ViUInt32 written = 0;
        const ViStatus status =
            api.viWrite(vi, reinterpret_cast<const unsigned char*>(message.constData()),
                        static_cast<ViUInt32>(message.size()), &written);
        if (status < kSuccess)
            return errorOf(status);
        if (written != ViUInt32(message.size()))
            return I_ERR_IO; // a short write is a failure, not a success
        *actual = count;
        return I_ERR_NOERROR;
    }

    int read(char* buffer, std::size_t size, int* reason, std::size_t* actual) override {
        *reason = 0;
        *actual = 0;
        if (size == 0)
            return I_ERR_NOERROR;
        ViUInt32 got = 0;
        const auto want = static_cast<ViUInt32>(std::min<std::size_t>(size, 0x7FFFFFFF));
        const ViStatus status =
            api.viRead(vi, reinterpret_cast<unsigned char*>(buffer), want, &got);
        *actual = std::min<std::size_t>(got, want);
        if (status < kSuccess)
            return errorOf(status);
        if (status == kSuccess || status == kSuccessTermChar)
            *reason |= I_TERM_END;
        if (status == kSuccessMaxCount || *actual == size)
            *reason |= I_TERM_MAXCNT;
        return I_ERR_NOERROR;
    }

    int readStatusByte(unsigned char* status) override {
        std::uint16_t byte = 0;
        const ViStatus result = api.viReadSTB(vi, &byte);
        *status = static_cast<unsigned char>(byte & 0xFF);
        return errorOf(result);
    }

    int clear() override {
        pending.clear();
        return errorOf(api.viClear(vi));
    }

    int setTimeout(long ms) override {
        return errorOf(api.viSetAttribute(
            vi, kAttrTimeout, ms <= 0 ? kInfiniteTimeout : static_cast<unsigned long>(ms)));
    }

    int serialControl(int, unsigned long) override { return I_ERR_NOTSUPP; }

    void close() override {
        if (!vi)
            return;
        // Back to local, so that the operator's front panel is not left locked.
        if (api.viGpibControlREN)
            api.viGpibControlREN(vi, kGpibAddressGoToLocal);
        api.viClose(vi);
        vi = 0;
    }

private:
    const VisaApi& api;
    ViSession vi;
    QByteArray pending;
};

} // namespace

std::unique_ptr<Transport> makeVisaTransport(const VisaApi& api, ViSession session) {
    return std::make_unique<VisaTransport>(api, session);
}

TransportFactory makeVisaTransportFactory() {
    return [](const DeviceAddress& address, const QString& parameters, const SiclConfig&,
              int* error) -> std::unique_ptr<Transport> {
        AdapterLine line;
        QString problem;
        if (!readAdapterLineForOpen(QStringLiteral("visa"), address.interfaceName, parameters, line,
                                    error))
            return nullptr;
        if (address.isSerial()) {
            *error = I_ERR_BADADDR;
            return nullptr;
        }
        const VisaApi* api = visaApi(line.library, &problem);
        if (!api) {
            reportOpenProblem(QStringLiteral("visa: ") + problem);
            *error = I_ERR_NOCONN;
            return nullptr;
        }
        const QString resource = visaResourceFor(line.resource, address.primaryAddress);
        const QByteArray resourceBytes = resource.toLatin1();
        ViSession vi = 0;
        const ViStatus status = api->viOpen(api->manager, resourceBytes.constData(), 0, 2000, &vi);
        if (status < kSuccess) {
            reportOpenProblem(
                status == kErrorResourceNotFound
                    ? QStringLiteral("visa: ") + Text(Txt::IoVisaNoDevice).arg(resource)
                    : QStringLiteral("visa: ") +
                          Text(Txt::IoVisaOpenFailed).arg(resource, statusText(status)));
            *error = I_ERR_NOCONN;
            return nullptr;
        }
        std::unique_ptr<Transport> transport = makeVisaTransport(*api, vi);
        // END with the last byte written; replies end on END or on the LF the analyzers send.
        api->viSetAttribute(vi, kAttrSendEnd, 1);
        api->viSetAttribute(vi, kAttrTermChar, '\n');
        api->viSetAttribute(vi, kAttrTermCharEnabled, 1);
        transport->setTimeout(2000);
        return transport;
    };
}

} // namespace ymt::sicl
