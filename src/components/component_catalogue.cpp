#include "components/component_catalogue.h"

#include <array>
#include <stdexcept>

#include "config/build_settings.h"

namespace {

using enum CategoryFolder;
using enum InstallKind;
using enum PanelSection;

constexpr std::string_view kQuiz = "\\Cantarel\\Quiz\\";

// Columns: id, section, row, download caption, removal caption, label tooltip,
// picture, picture tooltip, folder, kind, server path, local file, extraction
// folder, folder to prepare, prepare probe, installed folder, message name,
// then for the Windows rows the question, success and failure texts.
constexpr std::array<Component, 35> kCatalogue{{
    {"bullaro", A, 1, "Bullaro (6 Mo)", "Bullaro (6 Mo)", "Lecture de notes en clé de sol",
     "Picture_bullaro", "Bullaro", Cantarel, Archive,
     "/logiciels/portable1.4/Cantarel/Bullaro.zip", "\\Cantarel\\Bullaro.zip", "\\Cantarel\\", "", "",
     "\\Cantarel\\Bullaro\\", "Bullaro", "", "", ""},
    {"gnusolfege", A, 2, "GNU Solfege (36 Mo)", "GNU Solfege (36 Mo)",
     "Dictées de notes, de rythmes, d'accords, d'intervalles, théorie",
     "Picture_gnu_solfege", "GNU Solfege", Musique, Archive,
     "/logiciels/portable1.4/Musique/GNUSolfege.zip", "\\Musique\\GNUSolfege.zip", "\\Musique\\", "", "",
     "\\Musique\\GNU Solfege\\", "GNU Solfège", "", "", ""},
    {"symphalis", A, 3, "Symphalis (4 Mo)", "Symphalis (4 Mo)", "Symphalis",
     "Picture_symphalis", "Symphalis", Cantarel, Archive,
     "/logiciels/portable1.4/Cantarel/Symphalis.zip", "\\Cantarel\\Symphalis.zip", "\\Cantarel\\", "", "",
     "\\Cantarel\\Symphalis\\", "Symphalis", "", "", ""},
    {"tonavel", A, 4, "Tonavel (16 Mo)", "Tonavel (16 Mo)", "Tonavel",
     "Picture_tonavel", "Tonavel", Cantarel, Archive,
     "/logiciels/portable1.4/Cantarel/Tonavel.zip", "\\Cantarel\\Tonavel.zip", "\\Cantarel\\", "", "",
     "\\Cantarel\\Tonavel\\", "Tonavel", "", "", ""},
    {"maestrel", A, 5, "Maestrel (66 Mo)", "Maestrel (66 Mo)", "Jeu du pendu",
     "Picture_maestrel", "Maestrel", Cantarel, Archive,
     "/logiciels/portable1.4/Cantarel/Maestrel.zip", "\\Cantarel\\Maestrel.zip", "\\Cantarel\\", "", "",
     "\\Cantarel\\Maestrel\\", "Maestrel", "", "", ""},
    {"metronome", A, 6, "Métronome virtuel (2 Mo)", "Métronome virtuel (2 Mo)", "Tempo",
     "Picture_metronome", "Cantarel", Cantarel, Archive,
     "/logiciels/portable1.4/Cantarel/Cantarel.zip", "\\Cantarel\\Cantarel.zip", "\\Cantarel\\", "", "",
     "\\Cantarel\\Cantarel\\", "Cantarel", "", "", ""},
    {"solfege", A, 7, "Cantarel Solfège (20 Mo)", "Cantarel Solfège (20 Mo)",
     "Lecture de notes en clé de sol, clé de fa, signes de notation, tonalités",
     "Picture_solfege", "Cantarel Solfège", Cantarel, Archive,
     "/logiciels/portable1.4/Cantarel/Solfège.zip", "\\Cantarel\\Solfège.zip", "\\Cantarel\\", "", "",
     "\\Cantarel\\Solfège\\", "Cantarel Solfège", "", "", ""},
    {"clavira", A, 8, "Clavira (12 Mo)", "Clavira (12,1 Mo)",
     "Lecture de notes en clé de sol, clé de fa, position des notes sur un clavier de piano",
     "Picture_clavira", "Clavira", Cantarel, Archive,
     "/logiciels/portable1.4/Cantarel/Clavira.zip", "\\Cantarel\\Clavira.zip", "\\Cantarel\\", "", "",
     "\\Cantarel\\Clavira\\", "Clavira", "", "", ""},
    {"quiz", A, 9, "Cantarel Quiz et tous les questionnaires (767 Mo)",
     "Cantarel Quiz et tous les questionnaires (767 Mo)", "Quiz",
     "Picture_quiz", "Cantarel Quiz", Cantarel, Archive,
     "/logiciels/portable1.4/Cantarel/Quiz.zip", "\\Cantarel\\Quiz\\Quiz.zip", kQuiz, kQuiz,
     "\\Cantarel\\Quiz\\textes\\", kQuiz, "Cantarel Quiz", "", "", ""},
    {"chopin", A, 10, "-> Questionnaire sur Frédéric Chopin (224 Mo)",
     "-> Questionnaire sur Frédéric Chopin (224 Mo)", "Quiz", "", "", Cantarel, Archive,
     "/logiciels/portable1.4/Cantarel/QuizChopin.zip", "\\Cantarel\\Quiz\\QuizChopin.zip", kQuiz, kQuiz,
     kQuiz, "\\Cantarel\\Quiz\\audio\\chopin\\", "Questionnaire sur Frédéric Chopin", "", "", ""},
    {"hymnes", A, 11, "-> Questionnaire sur les hymnes nationaux (200 Mo)",
     "-> Questionnaire sur les hymnes nationaux (200 Mo)", "Quiz", "", "", Cantarel, Archive,
     "/logiciels/portable1.4/Cantarel/QuizHymnes.zip", "\\Cantarel\\Quiz\\QuizHymnes.zip", kQuiz, kQuiz,
     kQuiz, "\\Cantarel\\Quiz\\audio\\hymnes\\", "Questionnaire sur les hymnes nationaux", "", "", ""},
    {"symphonique", A, 12, "-> Questionnaire sur les oeuvres symphoniques (291 Mo)",
     "-> Questionnaire sur les oeuvres symphoniques (291 Mo)", "Quiz", "", "", Cantarel, Archive,
     "/logiciels/portable1.4/Cantarel/QuizSymphonique.zip", "\\Cantarel\\Quiz\\QuizSymphonique.zip", kQuiz,
     kQuiz, kQuiz, "\\Cantarel\\Quiz\\audio\\oeuvres symphoniques\\",
     "Questionnaire sur les oeuvres symphoniques", "", "", ""},
    {"pulsaro", A, 13, "Pulsaro (11 Mo)", "Pulsaro (11 Mo)", "Reconnaissance de rythmes",
     "Picture_pulsaro", "Pulsaro", Cantarel, Archive,
     "/logiciels/portable1.4/Cantarel/Pulsaro.zip", "\\Cantarel\\Pulsaro.zip", "\\Cantarel\\", "", "",
     "\\Cantarel\\Pulsaro\\", "Pulsaro", "", "", ""},
    {"mini_quadrelo", A, 14, "Mini Quadrelo (3 Mo)", "Mini Quadrelo (3 Mo)", "Lecture de notes en clé de sol",
     "Picture_mini_quadrelo", "Mini Quadrelo", Cantarel, Archive,
     "/logiciels/portable1.4/Cantarel/MiniQuadrelo.zip", "\\Cantarel\\MiniQuadrelo.zip", "\\Cantarel\\", "",
     "", "\\Cantarel\\Mini Quadrelo\\", "Mini Quadrelo", "", "", ""},
    {"quadrelo", A, 15, "Quadrelo (9 Mo)", "Quadrelo (9 Mo)",
     "Lecture de notes en clé de sol, clés de fa, clés d'ut",
     "Picture_quadrelo", "Quadrelo", Cantarel, Archive,
     "/logiciels/portable1.4/Cantarel/Quadrelo.zip", "\\Cantarel\\Quadrelo.zip", "\\Cantarel\\", "", "",
     "\\Cantarel\\Quadrelo\\", "Quadrelo", "", "", ""},
    {"ariamaestosa", B, 1, "Aria Maestosa (27 Mo)", "Aria Maestosa (27 Mo)",
     "Séquenceur et éditeur de fichiers MIDI",
     "Picture_ariamaestosa", "Aria Maestosa", Musique, Archive,
     "/logiciels/portable1.4/Musique/AriaMaestosa.zip", "\\Musique\\AriaMaestosa.zip", "\\Musique\\", "", "",
     "\\Musique\\AriaMaestosa\\", "Aria Maestosa", "", "", ""},
    {"hydrogen", B, 2, "Hydrogen (72 Mo)", "Hydrogen (72 Mo)",
     "Boite à rythmes avec séquenceur et table de mixage",
     "Picture_hydrogen", "Hydrogen", Musique, Archive,
     "/logiciels/portable1.4/Musique/Hydrogen.zip", "\\Musique\\Hydrogen.zip", "\\Musique\\", "", "",
     "\\Musique\\Hydrogen\\", "Hydrogen", "", "", ""},
    {"musescore", B, 3, "Muse Score (115 Mo)", "Muse Score (115 Mo)", "Editeur de partitions",
     "Picture_musescore", "Muse Score", Musique, Archive,
     "/logiciels/portable1.4/Musique/MuseScore.zip", "\\Musique\\MuseScore.zip", "\\Musique\\", "", "",
     "\\Musique\\MuseScore\\", "Muse Score", "", "", ""},
    {"openmusicwriter", B, 4, "Open Musicwriter (12 Mo)", "Open Musicwriter (12 Mo)", "Editeur de partitions",
     "Picture_openmusicwriter", "Open Musicwriter", Musique, Archive,
     "/logiciels/portable1.4/Musique/openmusicwriter.zip", "\\Musique\\openmusicwriter.zip", "\\Musique\\",
     "", "", "\\Musique\\openmusicwriter\\", "Open Musicwriter", "", "", ""},
    {"tuxguitar", B, 5, "Tuxguitar (19 Mo)", "Tuxguitar (19 Mo)", "Editeur de tablatures",
     "Picture_tuxguitar", "Tuxguitar", Musique, Archive,
     "/logiciels/portable1.4/Musique/Tuxguitar.zip", "\\Musique\\Tuxguitar.zip", "\\Musique\\", "", "",
     "\\Musique\\Tuxguitar\\", "Tuxguitar", "", "", ""},
    {"audacity", C, 1, "Audacity (46 Mo)", "Audacity (46 Mo)", "Edition et enregistrement audio",
     "Picture_audacity", "Audacity", Musique, Archive,
     "/logiciels/portable1.4/Musique/Audacity.zip", "\\Musique\\Audacity.zip", "\\Musique\\", "", "",
     "\\Musique\\Audacity\\", "Audacity", "", "", ""},
    {"cdex", C, 2, "CDex (3 Mo)", "CDex (3 Mo)", "Extraction des pistes audio d'un CD et conversion MP3",
     "Picture_cdex", "CDex", Musique, Archive,
     "/logiciels/portable1.4/Musique/CDex.zip", "\\Musique\\CDex.zip", "\\Musique\\", "", "",
     "\\Musique\\CDex\\", "CDex", "", "", ""},
    {"vlc", C, 3, "VLC (83 Mo)", "VLC (83 Mo)", "Lecteur multimedia",
     "Picture_vlc", "VLC", Musique, Archive,
     "/logiciels/portable1.4/Musique/VLC.zip", "\\Musique\\VLC.zip", "\\Musique\\", "", "",
     "\\Musique\\VLC\\", "VLC", "", "", ""},
    {"infrarecorder", C, 4, "Infra Recorder (13 Mo)", "Infra Recorder (13 Mo)", "Gravure CD/DVD",
     "Picture_infrarecorder", "Infra Recorder", Musique, Archive,
     "/logiciels/portable1.4/Musique/infrarecorder.zip", "\\Musique\\infrarecorder.zip", "\\Musique\\", "",
     "", "\\Musique\\Infrarecorder\\", "Infra Recorder", "", "", ""},
    {"atunes", C, 5, "aTunes (35 Mo)", "aTunes (35 Mo)", "Gestionnaire de fichiers audio",
     "Picture_atunes", "aTunes", Musique, Archive,
     "/logiciels/portable1.4/Musique/aTunes.zip", "\\Musique\\aTunes.zip", "\\Musique\\", "", "",
     "\\Musique\\aTunes\\", "aTunes", "", "", ""},
    {"libreoffice", D, 1, "Libre Office (356 Mo)", "Libre Office (356 Mo)", "Suite bureautique",
     "Picture_libreoffice", "Libre Office", Util, Archive,
     "/logiciels/portable1.4/Util/LibreOffice.zip", "\\Util\\LibreOffice.zip", "\\Util\\", "", "",
     "\\Util\\LibreOffice\\", "Libre Office", "", "", ""},
    {"firefox", D, 2, "Firefox (67 Mo)", "Firefox (67 Mo)", "Navigateur web",
     "Picture_firefox", "Firefox", Util, Archive,
     "/logiciels/portable1.4/Util/Firefox.zip", "\\Util\\Firefox.zip", "\\Util\\", "", "",
     "\\Util\\Firefox\\", "Firefox", "", "", ""},
    {"thunderbird", D, 3, "Thunderbird (76 Mo)", "Thunderbird (76 Mo)", "Messagerie",
     "Picture_thunderbird", "Thunderbird", Util, Archive,
     "/logiciels/portable1.4/Util/Thunderbird.zip", "\\Util\\Thunderbird.zip", "\\Util\\", "", "",
     "\\Util\\Thunderbird\\", "Thunderbird", "", "", ""},
    {"7zip", D, 4, "7-Zip (4 Mo)", "7-Zip (4 Mo)", "Compression et décompression de fichiers",
     "Picture_7zip", "7-Zip", Util, Archive,
     "/logiciels/portable1.4/Util/7zip.zip", "\\Util\\7zip.zip", "\\Util\\", "", "",
     "\\Util\\7-zip\\", "7-Zip", "", "", ""},
    {"framework_35", E, 1, "Framework .NET - Version 3.5 (231 Mo)", "Framework .NET - Version 3.5 (231 Mo)",
     "", "Picture_net35", "", Windows, Installer,
     "/logiciels/portable1.4/Windows/dotnetfx35.exe", "\\Windows\\dotnet35\\dotnetfx35.exe", "",
     "\\Windows\\dotnet35\\", "", "\\Windows\\dotnet35\\", "",
     "Voulez-vous télécharger le framework .NET 3.5 ?",
     "Le framework .NET 3.5 a été téléchargé sur votre disque! Vous pouvez mettre votre système à jour en "
     "cliquant sur le bouton 'Mises à jour de Windows'",
     "Le framework .NET 3.5 n'a pas pu être téléchargé sur votre disque! Recommencez ultérieurement ou "
     "contactez "},
    {"framework_4", E, 2, "Framework .NET - Version 4 (49 Mo)", "Framework .NET - Version 4 (48 Mo)", "",
     "Picture_net4", "", Windows, Installer,
     "/logiciels/portable1.4/Windows/dotNetFx40_Full_x86_x64.exe",
     "\\Windows\\dotnet4\\dotNetFx40_Full_x86_x64.exe", "", "\\Windows\\dotnet4\\", "",
     "\\Windows\\dotnet4\\", "", "Voulez-vous télécharger le framework .NET 4 ?",
     "Le framework .NET 4 a été téléchargé sur votre disque! Vous pouvez mettre votre système à jour en "
     "cliquant sur le bouton 'Mises à jour de Windows'",
     "Le framework .NET 4 n'a pas pu être téléchargé sur votre disque! Recommencez ultérieurement ou "
     "contactez "},
    {"sql_35", E, 3, "SQL Server Compact 3.5 (3 Mo)", "SQL Server Compact 3.5 (3 Mo)", "",
     "Picture_sql35", "", Windows, Installer,
     "/logiciels/portable1.4/Windows/SSCERuntimex86FRA.msi",
     "\\Windows\\sqlservercompact35\\SSCERuntimex86FRA.msi", "", "\\Windows\\sqlservercompact35\\", "",
     "\\Windows\\sqlservercompact35\\", "", "Voulez-vous télécharger SQL Server Compact 3.5 ?",
     "SQL Server Compact 3.5 a été téléchargé sur votre disque! Vous pouvez mettre votre système à jour en "
     "cliquant sur le bouton 'Mises à jour de Windows'",
     "SQL Server Compact 3.5 n'a pas pu être téléchargé sur votre disque! Recommencez ultérieurement ou "
     "contactez "},
    {"reconnaissance_vocale", E, 4, "Reconnaissance vocale (9 Mo)", "Reconnaissance vocale (9 Mo)", "",
     "Picture_voix", "", Windows, Archive,
     "/logiciels/portable1.4/Windows/Speech.zip", "\\Windows\\Speech\\Speech.zip", "\\Windows\\Speech\\",
     "\\Windows\\Speech\\", "", "\\Windows\\Speech\\", "",
     "Voulez-vous télécharger la reconnaissance vocale?",
     "La reconnaissance vocale a été téléchargée sur votre disque! Vous pouvez mettre votre système à jour "
     "en cliquant sur le bouton 'Mises à jour de Windows'",
     "La reconnaissance vocale n'a pas pu être téléchargée sur votre disque! Recommencez ultérieurement ou "
     "contactez "},
    {"java", E, 5, "Machine Virtuelle Java (28 Mo)", "Machine Virtuelle Java (28 Mo)", "",
     "Picture_java", "", Windows, Installer,
     "/logiciels/portable1.4/Windows/java.exe", "\\Windows\\java\\java.exe", "", "\\Windows\\java\\", "",
     "\\Windows\\java\\", "", "Voulez-vous télécharger JAVA ?",
     "JAVA a été téléchargé sur votre disque! Vous pouvez mettre votre système à jour en cliquant sur le "
     "bouton 'Mises à jour de Windows'",
     "JAVA n'a pas pu être téléchargé sur votre disque! Recommencez ultérieurement ou contactez "},
    {"dao", E, 6, "Data Access Object - Version 3.5 (3 Mo)", "Data Access Object - Version 3.5 (3 Mo)", "",
     "Picture_dao35", "", Windows, Installer,
     "/logiciels/portable1.4/Windows/dao35.exe", "\\Windows\\dao35\\dao35.exe", "", "\\Windows\\dao35\\", "",
     "\\Windows\\dao35\\", "", "Voulez-vous télécharger DAO 3.5 ?",
     "DAO 3.5 a été téléchargé sur votre disque! Vous pouvez mettre votre système à jour en cliquant sur le "
     "bouton 'Mises à jour de Windows'",
     "DAO 3.5 n'a pas pu être téléchargé sur votre disque! Recommencez ultérieurement ou contactez "},
}};

constexpr std::array<SectionHeading, 5> kHeadings{{
    {A, "Apprentissage de la musique", "Label9", "Label3"},
    {B, "Logiciels d'aide à la création musicale", "Label7", "Label17"},
    {C, "Outils musique", "Label2", "Label18"},
    {D, "Autres outils", "Label5", "Label26"},
    {E, "Mise à jour de windows", "Label6", "Label11"},
}};

}  // namespace

std::span<const Component> AllComponents() { return kCatalogue; }

std::span<const SectionHeading> SectionHeadings() { return kHeadings; }

const Component* FindComponent(std::string_view id) {
    for (const Component& component : kCatalogue) {
        if (component.id == id) return &component;
    }
    return nullptr;
}

const Component& ComponentById(std::string_view id) {
    const Component* component = FindComponent(id);
    if (component == nullptr) throw std::out_of_range("no component " + std::string(id));
    return *component;
}

std::string DownloadLabelName(const Component& component) {
    return "Label_telecharger_" + std::string(component.id);
}

std::string RemovalLabelName(const Component& component) {
    return "Label_supprimer_" + std::string(component.id);
}

std::string DownloadUrl(const Component& component) {
    return std::string(kDownloadBase) + std::string(component.serverPath);
}

std::string AbsolutePath(std::string_view appFolder, std::string_view relative) {
    std::string path(appFolder);
    path += relative;
    return path;
}
