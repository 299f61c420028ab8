#pragma once
#include <filesystem>
#include <string>

namespace prueba {

// What a test process's runs printed, and the secrets they were handed, kept under the folder KX204_SALIDAS
// names (ctest names one for every test; without it nothing is kept) so that the process, once its tests
// have run, looks for every secret in everything printed. Both are files of this process, private to
// their owner.
std::filesystem::path CarpetaDeSalidas();

// Begins each origin's part of a transcript: it, and a line naming the origin.
inline constexpr const char* kInicioDeOrigen = "\n== ";

// Appends what `origen` (a program's run, a clerk's screen) printed to this process's transcript.
void Transcribe(const std::string& origen, const std::string& texto);

// Records a secret handed to the program, and what it is (never shown: the scan names it by `que`).
void Secreto(const std::string& que, const std::string& valor);

// Looks for this process's secrets, and the test server's password, in what its runs printed; says on
// standard error where each shows and answers how many do. The files go once found clean.
int SecretosALaVista();

}  // namespace prueba
