#pragma once
#include <atomic>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace qivera::db::pruebas {

// A SQLite file of its own for one test, removed with its WAL companions afterwards.
class ArchivoTemporal {
public:
    explicit ArchivoTemporal(const std::string& nombre = "prueba") {
        static std::atomic<int> contador{0};
        carpeta_ = std::filesystem::temp_directory_path() /
                   ("kx204_db_" + std::to_string(::getpid()) + "_" + std::to_string(++contador));
        std::filesystem::create_directories(carpeta_);
        ruta_ = (carpeta_ / (nombre + ".db")).string();
    }
    ~ArchivoTemporal() { std::filesystem::remove_all(carpeta_); }
    ArchivoTemporal(const ArchivoTemporal&) = delete;
    ArchivoTemporal& operator=(const ArchivoTemporal&) = delete;

    const std::string& Ruta() const { return ruta_; }
    std::string Url() const { return "sqlite:" + ruta_; }

private:
    std::filesystem::path carpeta_;
    std::string ruta_;
};

}  // namespace qivera::db::pruebas
