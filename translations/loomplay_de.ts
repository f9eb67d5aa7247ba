<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>app::CommandLine</name>
    <message>
        <source>--scaling takes smooth, sharp or whole, not %1</source>
        <translation>--scaling erwartet smooth, sharp oder whole, nicht %1</translation>
    </message>
    <message>
        <source>cannot read the mount table %1</source>
        <translation>die Mount-Tabelle %1 kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>cannot read the script %1</source>
        <translation>das Skript %1 kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>--screen takes a size such as 1024x768</source>
        <translation>--screen erwartet eine Größe wie 1024x768</translation>
    </message>
    <message>
        <source>--dpi takes a number of dots per inch such as 96 or 120</source>
        <translation>--dpi erwartet eine Anzahl Punkte pro Zoll wie 96 oder 120</translation>
    </message>
    <message>
        <source>--start-time takes a time such as 2026-01-31T09:30:00</source>
        <translation>--start-time erwartet eine Zeitangabe wie 2026-01-31T09:30:00</translation>
    </message>
    <message>
        <source>Start the game in a window (Alt+Enter switches to full screen).</source>
        <translation>Das Spiel im Fenster starten (Alt+Enter schaltet auf Vollbild um).</translation>
    </message>
    <message>
        <source>Start the game full screen, as it starts by default (Alt+Enter switches).</source>
        <translation>Das Spiel im Vollbild starten, wie standardmäßig (Alt+Enter schaltet um).</translation>
    </message>
    <message>
        <source>Scale the game picture smooth, sharp or in whole steps (sharp, with bars).</source>
        <translation>Das Spielbild weich, scharf oder in ganzzahligen Stufen skalieren (scharf, mit Balken).</translation>
    </message>
    <message>
        <source>Play without sound; music and sounds keep their timings.</source>
        <translation>Ohne Ton spielen; Musik und Geräusche behalten ihr Timing.</translation>
    </message>
    <message>
        <source>The General MIDI soundfont for MIDI music (default: Debian&apos;s timgm6mb-soundfont).</source>
        <translation>Der General-MIDI-Soundfont für MIDI-Musik (Standard: timgm6mb-soundfont von Debian).</translation>
    </message>
    <message>
        <source>The code page of the game&apos;s text (default windows-1252).</source>
        <translation>Die Codepage der Spieltexte (Standard: windows-1252).</translation>
    </message>
    <message>
        <source>Keep the per-user settings in this folder (a headless run otherwise uses a temporary one).</source>
        <translation>Die benutzerbezogenen Einstellungen in diesem Ordner ablegen (ein Headless-Lauf verwendet sonst einen temporären).</translation>
    </message>
    <message>
        <source>A mount table (as /proc/mounts) to take the drive letters of CD games from.</source>
        <translation>Eine Mount-Tabelle (wie /proc/mounts), aus der die Laufwerksbuchstaben von CD-Spielen übernommen werden.</translation>
    </message>
    <message>
        <source>Also print each frame opened and each media file played.</source>
        <translation>Zusätzlich jeden geöffneten Frame und jede abgespielte Mediendatei ausgeben.</translation>
    </message>
    <message>
        <source>Play a script without a screen; print JSON lines.</source>
        <translation>Ein Skript ohne Bildschirm abspielen; JSON-Zeilen ausgeben.</translation>
    </message>
    <message>
        <source>The script to play.</source>
        <translation>Das abzuspielende Skript.</translation>
    </message>
    <message>
        <source>The folder for the pictures of &apos;shot&apos; lines.</source>
        <translation>Der Ordner für die Bilder der &apos;shot&apos;-Zeilen.</translation>
    </message>
    <message>
        <source>The screen size a headless run pretends to have (default 1024x768).</source>
        <translation>Die Bildschirmgröße, die ein Headless-Lauf vorgibt (Standard: 1024x768).</translation>
    </message>
    <message>
        <source>The logical DPI a headless run pretends its desktop has (above 96: large fonts).</source>
        <translation>Die logische DPI, die ein Headless-Lauf für seinen Desktop vorgibt (über 96: große Schriften).</translation>
    </message>
    <message>
        <source>Where the virtual clock starts (default: now).</source>
        <translation>Startzeitpunkt der virtuellen Uhr (Standard: jetzt).</translation>
    </message>
    <message>
        <source>Offer a Debug menu of the game&apos;s frames in the game window.</source>
        <translation>Im Spielfenster ein Debug-Menü mit den Frames des Spiels anbieten.</translation>
    </message>
    <message>
        <source>Check the game for its author: print what is wrong, open no window.</source>
        <translation>Das Spiel für seinen Autor prüfen: Fehler ausgeben, kein Fenster öffnen.</translation>
    </message>
    <message>
        <source>With --check: print the findings as JSON lines.</source>
        <translation>Mit --check: die Befunde als JSON-Zeilen ausgeben.</translation>
    </message>
    <message>
        <source>With --check: draw the frames as a graph (.svg or .dot).</source>
        <translation>Mit --check: die Frames als Graph zeichnen (.svg oder .dot).</translation>
    </message>
    <message>
        <source>Write the player&apos;s input as a script of the scripted-play language.</source>
        <translation>Die Eingaben des Spielers als Skript für das skriptgesteuerte Spielen aufzeichnen.</translation>
    </message>
    <message>
        <source>Show this help and exit.</source>
        <translation>Diese Hilfe anzeigen und beenden.</translation>
    </message>
    <message>
        <source>Show the player&apos;s version and exit.</source>
        <translation>Versionsinformationen anzeigen und beenden.</translation>
    </message>
    <message>
        <source>one game folder at a time: %1</source>
        <translation>nur ein Spielordner auf einmal: %1</translation>
    </message>
    <message>
        <source>--windowed and --fullscreen exclude each other</source>
        <translation>--windowed und --fullscreen schließen einander aus</translation>
    </message>
    <message>
        <source>--headless needs --script FILE</source>
        <translation>--headless erfordert --script FILE</translation>
    </message>
    <message>
        <source>--%1 goes with --check</source>
        <translation>--%1 ist nur zusammen mit --check möglich</translation>
    </message>
    <message>
        <source> (loomplay --help lists the options)</source>
        <translation> (loomplay --help listet die Optionen auf)</translation>
    </message>
    <message>
        <source>Usage: loomplay [OPTION]... [GAME_DIR]</source>
        <translation>Aufruf: loomplay [OPTION]... [GAME_DIR]</translation>
    </message>
    <message>
        <source>Playing</source>
        <translation>Spielen</translation>
    </message>
    <message>
        <source>Scripted play</source>
        <translation>Skriptgesteuertes Spielen</translation>
    </message>
    <message>
        <source>Authoring</source>
        <translation>Spielentwicklung</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Informationen</translation>
    </message>
    <message>
        <source>Plays point-and-click adventure games made with Storyloom.
GAME_DIR is the game folder (the one that holds Config/General). Without it the player
plays the game in its own folder, or else opens a window to choose a game.
</source>
        <translation>Spielt mit Storyloom erstellte Point-and-Click-Adventures.
GAME_DIR ist der Spielordner (der Ordner mit Config/General). Ohne ihn spielt das Programm
das Spiel in seinem eigenen Ordner oder öffnet andernfalls ein Fenster zur Spielauswahl.
</translation>
    </message>
    <message>
        <source>Read aloud the texts the game shows and the objects Tab comes to.</source>
        <translation>Die Texte, die das Spiel zeigt, und die Objekte, zu denen Tab springt, vorlesen.</translation>
    </message>
    <message>
        <source>Leave Tab, Enter and Space to the game: no play without a mouse.</source>
        <translation>Tab, Enter und Leertaste dem Spiel überlassen: kein Spielen ohne Maus.</translation>
    </message>
    <message>
        <source>With --script or --test: end a script at its first expectation that does not hold.</source>
        <translation>Mit --script oder --test: ein Skript bei seiner ersten nicht erfüllten Erwartung beenden.</translation>
    </message>
    <message>
        <source>With --record: end the recording with expect lines in words, a test as it stands.</source>
        <translation>Mit --record: die Aufzeichnung mit expect-Zeilen in Worten beenden, ein fertiger Test.</translation>
    </message>
    <message>
        <source>Play the game&apos;s test scripts (GAME_DIR [SCRIPT]...), each on a copy of the game, and tell which fail.</source>
        <translation>Die Testskripte des Spiels abspielen (GAME_DIR [SCRIPT]...), jedes auf einer Kopie des Spiels, und melden, welche fehlschlagen.</translation>
    </message>
    <message>
        <source>With --test: also write the results as a JUnit XML report.</source>
        <translation>Mit --test: die Ergebnisse zusätzlich als JUnit-XML-Bericht schreiben.</translation>
    </message>
    <message>
        <source>--test needs the game folder</source>
        <translation>--test erfordert den Spielordner</translation>
    </message>
    <message>
        <source>--test plays its scripts itself: it goes without --%1</source>
        <translation>--test spielt seine Skripte selbst: es ist nicht mit --%1 möglich</translation>
    </message>
    <message>
        <source>--junit goes with --test</source>
        <translation>--junit ist nur zusammen mit --test möglich</translation>
    </message>
    <message>
        <source>--expect-end goes with --record</source>
        <translation>--expect-end ist nur zusammen mit --record möglich</translation>
    </message>
    <message>
        <source>--stop-on-fail goes with --script or --test</source>
        <translation>--stop-on-fail ist nur zusammen mit --script oder --test möglich</translation>
    </message>
</context>
<context>
    <name>app::GameChooser</name>
    <message>
        <source>Choose a game - loomplay</source>
        <translation>Spiel auswählen - loomplay</translation>
    </message>
    <message>
        <source>Open a game folder...</source>
        <translation>Spielordner öffnen...</translation>
    </message>
    <message>
        <source>Remove from list</source>
        <translation>Aus der Liste entfernen</translation>
    </message>
    <message>
        <source>Options...</source>
        <translation>Optionen...</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Spielen</translation>
    </message>
    <message>
        <source>Play the demo game</source>
        <translation>Demospiel spielen</translation>
    </message>
    <message>
        <source>Open a game folder</source>
        <translation>Spielordner öffnen</translation>
    </message>
    <message>
        <source>Games played before:</source>
        <translation>Bisher gespielte Spiele:</translation>
    </message>
    <message>
        <source>No game played yet: open a game folder, or play the demo game.</source>
        <translation>Noch kein Spiel gespielt: Öffnen Sie einen Spielordner oder spielen Sie das Demospiel.</translation>
    </message>
    <message>
        <source>No game played yet: open a game folder to play it.</source>
        <translation>Noch kein Spiel gespielt: Öffnen Sie zum Spielen einen Spielordner.</translation>
    </message>
</context>
<context>
    <name>app::GameFolders</name>
    <message>
        <source>The folder %1 does not exist.</source>
        <translation>Der Ordner %1 existiert nicht.</translation>
    </message>
    <message>
        <source>%1 is a file, not a game folder.</source>
        <translation>%1 ist eine Datei, kein Spielordner.</translation>
    </message>
    <message>
        <source>No Config/General file in %1: it is not a Storyloom game folder.</source>
        <translation>Keine Datei Config/General in %1: Dies ist kein Storyloom-Spielordner.</translation>
    </message>
</context>
<context>
    <name>app::OptionsWindow</name>
    <message>
        <source>Options - loomplay</source>
        <translation>Optionen - loomplay</translation>
    </message>
    <message>
        <source>This game: %1</source>
        <translation>Dieses Spiel: %1</translation>
    </message>
    <message>
        <source>All games</source>
        <translation>Alle Spiele</translation>
    </message>
    <message>
        <source>Settings for:</source>
        <translation>Einstellungen für:</translation>
    </message>
    <message>
        <source>Display:</source>
        <translation>Anzeige:</translation>
    </message>
    <message>
        <source>Full screen</source>
        <translation>Vollbild</translation>
    </message>
    <message>
        <source>Window</source>
        <translation>Fenster</translation>
    </message>
    <message>
        <source>Scaling:</source>
        <translation>Skalierung:</translation>
    </message>
    <message>
        <source>Smooth</source>
        <translation>Weich</translation>
    </message>
    <message>
        <source>Sharp</source>
        <translation>Scharf</translation>
    </message>
    <message>
        <source>Whole-number steps</source>
        <translation>Ganzzahlige Stufen</translation>
    </message>
    <message>
        <source>Master volume:</source>
        <translation>Gesamtlautstärke:</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>Stumm</translation>
    </message>
    <message>
        <source>Music:</source>
        <translation>Musik:</translation>
    </message>
    <message>
        <source>Sounds:</source>
        <translation>Geräusche:</translation>
    </message>
    <message>
        <source>Video:</source>
        <translation>Video:</translation>
    </message>
    <message>
        <source>Soundfont:</source>
        <translation>Soundfont:</translation>
    </message>
    <message>
        <source>The one installed</source>
        <translation>Der installierte</translation>
    </message>
    <message>
        <source>Choose...</source>
        <translation>Auswählen...</translation>
    </message>
    <message>
        <source>Code page:</source>
        <translation>Codepage:</translation>
    </message>
    <message>
        <source>Read the game&apos;s texts aloud</source>
        <translation>Texte des Spiels vorlesen</translation>
    </message>
    <message>
        <source>Tab moves a focus ring through the game</source>
        <translation>Tab bewegt einen Fokusrahmen durch das Spiel</translation>
    </message>
    <message>
        <source>The soundfont and the code page take effect when a game starts.</source>
        <translation>Soundfont und Codepage werden beim Start eines Spiels wirksam.</translation>
    </message>
    <message>
        <source>Restore defaults</source>
        <translation>Standardwerte wiederherstellen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Choose a soundfont</source>
        <translation>Soundfont auswählen</translation>
    </message>
    <message>
        <source>Soundfonts (*.sf2 *.sf3 *.SF2 *.SF3)</source>
        <translation>Soundfonts (*.sf2 *.sf3 *.SF2 *.SF3)</translation>
    </message>
</context>
<context>
    <name>engine::Game</name>
    <message>
        <source>No folder for screenshots: the screenshot is not saved.</source>
        <translation>Kein Ordner für Bildschirmfotos: das Bildschirmfoto wird nicht gespeichert.</translation>
    </message>
    <message>
        <source>Screenshot saved: %1</source>
        <translation>Bildschirmfoto gespeichert: %1</translation>
    </message>
    <message>
        <source>The screenshot is not saved: %1</source>
        <translation>Das Bildschirmfoto wird nicht gespeichert: %1</translation>
    </message>
    <message>
        <source>Paused
Press Pause or Escape to go on.</source>
        <translation>Pause
Pause oder Escape drücken, um weiterzuspielen.</translation>
    </message>
</context>
<context>
    <name>engine::PlayerMenu</name>
    <message>
        <source>Resume</source>
        <translation>Fortsetzen</translation>
    </message>
    <message>
        <source>Options...</source>
        <translation>Optionen...</translation>
    </message>
    <message>
        <source>Take a screenshot</source>
        <translation>Bildschirmfoto aufnehmen</translation>
    </message>
    <message>
        <source>Full screen</source>
        <translation>Vollbild</translation>
    </message>
    <message>
        <source>Back to the game chooser</source>
        <translation>Zurück zur Spielauswahl</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>cannot write the recording %1: %2</source>
        <translation>die Aufzeichnung %1 kann nicht geschrieben werden: %2</translation>
    </message>
</context>
</TS>
