// A C library loaded at run time (dlopen), so that the program builds and runs without it.
#pragma once

#include <QString>
#include <QStringList>

namespace ymt::sicl {

class SharedLibrary {
public:
    // Loads the first of the names that loads (a file name searched the usual way, or a path).
    // On failure *error names the library and the loader's reason. Loaded libraries stay
    // loaded for the rest of the run: their functions may be held anywhere.
    static SharedLibrary* load(const QStringList& names, QString* error);

    void* symbol(const char* name) const;
    const QString& name() const { return fileName; }

    // Fills *function from the named symbol; false when it is missing.
    template <typename Function> bool resolve(Function*& function, const char* symbolName) const {
        function = reinterpret_cast<Function*>(symbol(symbolName));
        return function != nullptr;
    }

private:
    SharedLibrary(void* handle, QString name) : handle(handle), fileName(std::move(name)) {}
    void* handle;
    QString fileName;
};

} // namespace ymt::sicl
