#include "instrument/transports/SharedLibrary.h"

#include "core/TextCatalogue.h"

#include <dlfcn.h>

#include <map>
#include <memory>

namespace ymt::sicl {

SharedLibrary* SharedLibrary::load(const QStringList& names, QString* error) {
    static std::map<QString, std::unique_ptr<SharedLibrary>> loaded;
    QString firstFailure;
    for (const QString& name : names) {
        if (auto found = loaded.find(name); found != loaded.end())
            return found->second.get();
        const QByteArray file = name.toLocal8Bit();
        void* handle = ::dlopen(file.constData(), RTLD_NOW | RTLD_LOCAL);
        if (handle) {
            auto library = std::unique_ptr<SharedLibrary>(new SharedLibrary(handle, name));
            return loaded.emplace(name, std::move(library)).first->second.get();
        }
        if (firstFailure.isEmpty()) {
            const char* reason = ::dlerror();
            firstFailure = Text(Txt::IoCannotLoadLibrary)
                               .arg(name, reason ? QString::fromLocal8Bit(reason)
                                                 : Text(Txt::IoUnknownReason));
        }
    }
    if (error)
        *error = firstFailure.isEmpty() ? QStringLiteral("no library named") : firstFailure;
    return nullptr;
}

void* SharedLibrary::symbol(const char* name) const {
    return ::dlsym(handle, name);
}

} // namespace ymt::sicl
