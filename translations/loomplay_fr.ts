<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>app::CommandLine</name>
    <message>
        <source>--scaling takes smooth, sharp or whole, not %1</source>
        <translation>--scaling attend smooth, sharp ou whole, et non %1</translation>
    </message>
    <message>
        <source>cannot read the mount table %1</source>
        <translation>impossible de lire la table de montage %1</translation>
    </message>
    <message>
        <source>cannot read the script %1</source>
        <translation>impossible de lire le script %1</translation>
    </message>
    <message>
        <source>--screen takes a size such as 1024x768</source>
        <translation>--screen attend une taille comme 1024x768</translation>
    </message>
    <message>
        <source>--dpi takes a number of dots per inch such as 96 or 120</source>
        <translation>--dpi attend un nombre de points par pouce comme 96 ou 120</translation>
    </message>
    <message>
        <source>--start-time takes a time such as 2026-01-31T09:30:00</source>
        <translation>--start-time attend une date et heure comme 2026-01-31T09:30:00</translation>
    </message>
    <message>
        <source>Start the game in a window (Alt+Enter switches to full screen).</source>
        <translation>Démarrer le jeu dans une fenêtre (Alt+Entrée passe en plein écran).</translation>
    </message>
    <message>
        <source>Start the game full screen, as it starts by default (Alt+Enter switches).</source>
        <translation>Démarrer le jeu en plein écran, comme par défaut (Alt+Entrée bascule).</translation>
    </message>
    <message>
        <source>Scale the game picture smooth, sharp or in whole steps (sharp, with bars).</source>
        <translation>Mettre l&apos;image du jeu à l&apos;échelle de façon lisse, nette ou par pas entiers (nette, avec des bandes).</translation>
    </message>
    <message>
        <source>Play without sound; music and sounds keep their timings.</source>
        <translation>Jouer sans son ; la musique et les sons conservent leur minutage.</translation>
    </message>
    <message>
        <source>The General MIDI soundfont for MIDI music (default: Debian&apos;s timgm6mb-soundfont).</source>
        <translation>La soundfont General MIDI pour la musique MIDI (par défaut : timgm6mb-soundfont de Debian).</translation>
    </message>
    <message>
        <source>The code page of the game&apos;s text (default windows-1252).</source>
        <translation>La page de code des textes du jeu (par défaut : windows-1252).</translation>
    </message>
    <message>
        <source>Keep the per-user settings in this folder (a headless run otherwise uses a temporary one).</source>
        <translation>Conserver les réglages propres à l&apos;utilisateur dans ce dossier (sinon, une exécution sans affichage utilise un dossier temporaire).</translation>
    </message>
    <message>
        <source>A mount table (as /proc/mounts) to take the drive letters of CD games from.</source>
        <translation>Une table de montage (comme /proc/mounts) d&apos;où tirer les lettres de lecteur des jeux sur CD.</translation>
    </message>
    <message>
        <source>Also print each frame opened and each media file played.</source>
        <translation>Afficher aussi chaque frame ouverte et chaque fichier multimédia lu.</translation>
    </message>
    <message>
        <source>Play a script without a screen; print JSON lines.</source>
        <translation>Jouer un script sans affichage ; afficher des lignes JSON.</translation>
    </message>
    <message>
        <source>The script to play.</source>
        <translation>Le script à jouer.</translation>
    </message>
    <message>
        <source>The folder for the pictures of &apos;shot&apos; lines.</source>
        <translation>Le dossier des images des lignes &apos;shot&apos;.</translation>
    </message>
    <message>
        <source>The screen size a headless run pretends to have (default 1024x768).</source>
        <translation>La taille d&apos;écran simulée lors d&apos;une exécution sans affichage (par défaut : 1024x768).</translation>
    </message>
    <message>
        <source>The logical DPI a headless run pretends its desktop has (above 96: large fonts).</source>
        <translation>Le DPI logique simulé pour le bureau lors d&apos;une exécution sans affichage (au-delà de 96 : grandes polices).</translation>
    </message>
    <message>
        <source>Where the virtual clock starts (default: now).</source>
        <translation>L&apos;heure de départ de l&apos;horloge virtuelle (par défaut : maintenant).</translation>
    </message>
    <message>
        <source>Offer a Debug menu of the game&apos;s frames in the game window.</source>
        <translation>Proposer dans la fenêtre du jeu un menu Debug des frames du jeu.</translation>
    </message>
    <message>
        <source>Check the game for its author: print what is wrong, open no window.</source>
        <translation>Vérifier le jeu pour son auteur : afficher ce qui ne va pas, sans ouvrir de fenêtre.</translation>
    </message>
    <message>
        <source>With --check: print the findings as JSON lines.</source>
        <translation>Avec --check : afficher les résultats sous forme de lignes JSON.</translation>
    </message>
    <message>
        <source>With --check: draw the frames as a graph (.svg or .dot).</source>
        <translation>Avec --check : dessiner les frames sous forme de graphe (.svg ou .dot).</translation>
    </message>
    <message>
        <source>Write the player&apos;s input as a script of the scripted-play language.</source>
        <translation>Enregistrer les actions du joueur sous forme de script pour le jeu scripté.</translation>
    </message>
    <message>
        <source>Show this help and exit.</source>
        <translation>Afficher cette aide et quitter.</translation>
    </message>
    <message>
        <source>Show the player&apos;s version and exit.</source>
        <translation>Afficher la version du lecteur et quitter.</translation>
    </message>
    <message>
        <source>one game folder at a time: %1</source>
        <translation>un seul dossier de jeu à la fois : %1</translation>
    </message>
    <message>
        <source>--windowed and --fullscreen exclude each other</source>
        <translation>--windowed et --fullscreen sont incompatibles</translation>
    </message>
    <message>
        <source>--headless needs --script FILE</source>
        <translation>--headless nécessite --script FILE</translation>
    </message>
    <message>
        <source>--%1 goes with --check</source>
        <translation>--%1 ne s&apos;utilise qu&apos;avec --check</translation>
    </message>
    <message>
        <source> (loomplay --help lists the options)</source>
        <translation> (loomplay --help liste les options)</translation>
    </message>
    <message>
        <source>Usage: loomplay [OPTION]... [GAME_DIR]</source>
        <translation>Utilisation : loomplay [OPTION]... [GAME_DIR]</translation>
    </message>
    <message>
        <source>Playing</source>
        <translation>Jeu</translation>
    </message>
    <message>
        <source>Scripted play</source>
        <translation>Jeu scripté</translation>
    </message>
    <message>
        <source>Authoring</source>
        <translation>Création de jeux</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Informations</translation>
    </message>
    <message>
        <source>Plays point-and-click adventure games made with Storyloom.
GAME_DIR is the game folder (the one that holds Config/General). Without it the player
plays the game in its own folder, or else opens a window to choose a game.
</source>
        <translation>Joue les jeux d&apos;aventure en pointer-cliquer créés avec Storyloom.
GAME_DIR est le dossier du jeu (celui qui contient Config/General). Sans lui, le lecteur
joue le jeu situé dans son propre dossier, ou sinon ouvre une fenêtre pour choisir un jeu.
</translation>
    </message>
    <message>
        <source>Read aloud the texts the game shows and the objects Tab comes to.</source>
        <translation>Lire à voix haute les textes que le jeu affiche et les objets où Tab s&apos;arrête.</translation>
    </message>
    <message>
        <source>Leave Tab, Enter and Space to the game: no play without a mouse.</source>
        <translation>Laisser Tab, Entrée et Espace au jeu : pas de jeu sans souris.</translation>
    </message>
    <message>
        <source>With --script or --test: end a script at its first expectation that does not hold.</source>
        <translation>Avec --script ou --test : arrêter un script à sa première attente non satisfaite.</translation>
    </message>
    <message>
        <source>With --record: end the recording with expect lines in words, a test as it stands.</source>
        <translation>Avec --record : terminer l&apos;enregistrement par des lignes expect en clair, un test tel quel.</translation>
    </message>
    <message>
        <source>Play the game&apos;s test scripts (GAME_DIR [SCRIPT]...), each on a copy of the game, and tell which fail.</source>
        <translation>Jouer les scripts de test du jeu (GAME_DIR [SCRIPT]...), chacun sur une copie du jeu, et indiquer lesquels échouent.</translation>
    </message>
    <message>
        <source>With --test: also write the results as a JUnit XML report.</source>
        <translation>Avec --test : écrire aussi les résultats dans un rapport XML JUnit.</translation>
    </message>
    <message>
        <source>--test needs the game folder</source>
        <translation>--test nécessite le dossier du jeu</translation>
    </message>
    <message>
        <source>--test plays its scripts itself: it goes without --%1</source>
        <translation>--test joue lui-même ses scripts : il ne s&apos;utilise pas avec --%1</translation>
    </message>
    <message>
        <source>--junit goes with --test</source>
        <translation>--junit ne s&apos;utilise qu&apos;avec --test</translation>
    </message>
    <message>
        <source>--expect-end goes with --record</source>
        <translation>--expect-end ne s&apos;utilise qu&apos;avec --record</translation>
    </message>
    <message>
        <source>--stop-on-fail goes with --script or --test</source>
        <translation>--stop-on-fail ne s&apos;utilise qu&apos;avec --script ou --test</translation>
    </message>
</context>
<context>
    <name>app::GameChooser</name>
    <message>
        <source>Choose a game - loomplay</source>
        <translation>Choisir un jeu - loomplay</translation>
    </message>
    <message>
        <source>Open a game folder...</source>
        <translation>Ouvrir un dossier de jeu...</translation>
    </message>
    <message>
        <source>Remove from list</source>
        <translation>Retirer de la liste</translation>
    </message>
    <message>
        <source>Options...</source>
        <translation>Options...</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Jouer</translation>
    </message>
    <message>
        <source>Play the demo game</source>
        <translation>Jouer au jeu de démonstration</translation>
    </message>
    <message>
        <source>Open a game folder</source>
        <translation>Ouvrir un dossier de jeu</translation>
    </message>
    <message>
        <source>Games played before:</source>
        <translation>Jeux déjà joués :</translation>
    </message>
    <message>
        <source>No game played yet: open a game folder, or play the demo game.</source>
        <translation>Aucun jeu joué pour l&apos;instant : ouvrez un dossier de jeu ou jouez au jeu de démonstration.</translation>
    </message>
    <message>
        <source>No game played yet: open a game folder to play it.</source>
        <translation>Aucun jeu joué pour l&apos;instant : ouvrez un dossier de jeu pour y jouer.</translation>
    </message>
</context>
<context>
    <name>app::GameFolders</name>
    <message>
        <source>The folder %1 does not exist.</source>
        <translation>Le dossier %1 n&apos;existe pas.</translation>
    </message>
    <message>
        <source>%1 is a file, not a game folder.</source>
        <translation>%1 est un fichier, pas un dossier de jeu.</translation>
    </message>
    <message>
        <source>No Config/General file in %1: it is not a Storyloom game folder.</source>
        <translation>Aucun fichier Config/General dans %1 : ce n&apos;est pas un dossier de jeu Storyloom.</translation>
    </message>
</context>
<context>
    <name>app::OptionsWindow</name>
    <message>
        <source>Options - loomplay</source>
        <translation>Options - loomplay</translation>
    </message>
    <message>
        <source>This game: %1</source>
        <translation>Ce jeu : %1</translation>
    </message>
    <message>
        <source>All games</source>
        <translation>Tous les jeux</translation>
    </message>
    <message>
        <source>Settings for:</source>
        <translation>Paramètres pour :</translation>
    </message>
    <message>
        <source>Display:</source>
        <translation>Affichage :</translation>
    </message>
    <message>
        <source>Full screen</source>
        <translation>Plein écran</translation>
    </message>
    <message>
        <source>Window</source>
        <translation>Fenêtre</translation>
    </message>
    <message>
        <source>Scaling:</source>
        <translation>Mise à l&apos;échelle :</translation>
    </message>
    <message>
        <source>Smooth</source>
        <translation>Lisse</translation>
    </message>
    <message>
        <source>Sharp</source>
        <translation>Nette</translation>
    </message>
    <message>
        <source>Whole-number steps</source>
        <translation>Pas entiers</translation>
    </message>
    <message>
        <source>Master volume:</source>
        <translation>Volume principal :</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>Muet</translation>
    </message>
    <message>
        <source>Music:</source>
        <translation>Musique :</translation>
    </message>
    <message>
        <source>Sounds:</source>
        <translation>Sons :</translation>
    </message>
    <message>
        <source>Video:</source>
        <translation>Vidéo :</translation>
    </message>
    <message>
        <source>Soundfont:</source>
        <translation>Soundfont :</translation>
    </message>
    <message>
        <source>The one installed</source>
        <translation>Celle installée</translation>
    </message>
    <message>
        <source>Choose...</source>
        <translation>Choisir...</translation>
    </message>
    <message>
        <source>Code page:</source>
        <translation>Page de code :</translation>
    </message>
    <message>
        <source>Read the game&apos;s texts aloud</source>
        <translation>Lire à voix haute les textes du jeu</translation>
    </message>
    <message>
        <source>Tab moves a focus ring through the game</source>
        <translation>Tab déplace un cadre de focus dans le jeu</translation>
    </message>
    <message>
        <source>The soundfont and the code page take effect when a game starts.</source>
        <translation>La soundfont et la page de code prennent effet au démarrage d&apos;un jeu.</translation>
    </message>
    <message>
        <source>Restore defaults</source>
        <translation>Rétablir les valeurs par défaut</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Choose a soundfont</source>
        <translation>Choisir une soundfont</translation>
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
        <translation>Aucun dossier pour les captures d&apos;écran : la capture n&apos;est pas enregistrée.</translation>
    </message>
    <message>
        <source>Screenshot saved: %1</source>
        <translation>Capture d&apos;écran enregistrée : %1</translation>
    </message>
    <message>
        <source>The screenshot is not saved: %1</source>
        <translation>La capture d&apos;écran n&apos;est pas enregistrée : %1</translation>
    </message>
    <message>
        <source>Paused
Press Pause or Escape to go on.</source>
        <translation>Pause
Appuyez sur Pause ou Échap pour continuer.</translation>
    </message>
</context>
<context>
    <name>engine::PlayerMenu</name>
    <message>
        <source>Resume</source>
        <translation>Reprendre</translation>
    </message>
    <message>
        <source>Options...</source>
        <translation>Options...</translation>
    </message>
    <message>
        <source>Take a screenshot</source>
        <translation>Prendre une capture d&apos;écran</translation>
    </message>
    <message>
        <source>Full screen</source>
        <translation>Plein écran</translation>
    </message>
    <message>
        <source>Back to the game chooser</source>
        <translation>Retour au choix du jeu</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Quitter</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>cannot write the recording %1: %2</source>
        <translation>impossible d&apos;écrire l&apos;enregistrement %1 : %2</translation>
    </message>
</context>
</TS>
