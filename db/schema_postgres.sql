-- Tournament database, server kind (PostgreSQL). Column orders are part of the format:
-- several statements insert rows without naming columns.
-- Booleans are integers (TRUE 1, FALSE 0). Names are unquoted, so the server matches them without regard to case.

CREATE TABLE Einstellungen (
    TID INTEGER NOT NULL,
    einstellung1 INTEGER,
    einstellung2 INTEGER,
    einstellung3 INTEGER,
    einstellung4 INTEGER,
    version INTEGER,
    liveordner TEXT
);
CREATE INDEX Einstellungen_TID ON Einstellungen (TID);

CREATE TABLE Turnierdaten (
    TID INTEGER NOT NULL PRIMARY KEY,
    turniername TEXT,
    zusatz TEXT,
    austragungsort TEXT,
    tvon DATE,
    tbis DATE,
    startberechtigung TEXT,
    turniermodus TEXT,
    veranstalter TEXT,
    homepage TEXT,
    gesamtleitung TEXT,
    turnierleitung TEXT,
    schiedsrichter TEXT,
    osr TEXT,
    meldeschluss DATE,
    auslosung DATE,
    meldeinfo TEXT,
    meldung_an TEXT,
    ainfo TEXT,
    tische TEXT,
    baelle TEXT,
    netze TEXT,
    zaehlgeraete TEXT,
    banden TEXT,
    preise TEXT,
    verpflegung TEXT,
    weg TEXT,
    verschiedenes TEXT,
    erstehilfe TEXT
);

CREATE TABLE Turnierklassen (
    KID INTEGER NOT NULL PRIMARY KEY,
    TID INTEGER,
    system INTEGER,
    kbezeichnung TEXT,
    kbeschreibung TEXT,
    spielberechtigung TEXT,
    mann INTEGER,
    frau INTEGER,
    gebuehr DOUBLE PRECISION,
    min INTEGER,
    max INTEGER,
    saetze INTEGER,
    platten INTEGER,
    altersklasseID TEXT,
    atag DATE,
    uhrzeit TIME,
    farbe TEXT
);
CREATE INDEX Turnierklassen_TID ON Turnierklassen (TID);

CREATE TABLE Altersklasse (
    TID INTEGER,
    name TEXT,
    von DATE,
    bis DATE,
    aelter INTEGER,
    juenger INTEGER
);
CREATE INDEX Altersklasse_TID ON Altersklasse (TID);

CREATE TABLE Spielerdaten (
    TID INTEGER,
    SID INTEGER NOT NULL PRIMARY KEY,
    nachname TEXT,
    vorname TEXT,
    verein TEXT,
    geb DATE,
    nummer INTEGER,
    kverband TEXT,
    bverband TEXT,
    lverband TEXT,
    land TEXT,
    zubezahlen DOUBLE PRECISION,
    bezahlt INTEGER,
    angemeldet INTEGER,
    mann INTEGER,
    frau INTEGER,
    spklasse TEXT
);
CREATE INDEX Spielerdaten_TID ON Spielerdaten (TID);

CREATE TABLE Spieler_im_Turnier (
    TID INTEGER,
    KID INTEGER,
    SID INTEGER
);
CREATE INDEX Spieler_im_Turnier_TID ON Spieler_im_Turnier (TID);
CREATE INDEX Spieler_im_Turnier_KID ON Spieler_im_Turnier (KID);
CREATE INDEX Spieler_im_Turnier_SID ON Spieler_im_Turnier (SID);

CREATE TABLE Schiri (
    TID INTEGER,
    SCHIRIID INTEGER NOT NULL PRIMARY KEY,
    snname TEXT,
    svname TEXT,
    sgeb DATE,
    sverein TEXT,
    sangemeldet INTEGER,
    skverband TEXT,
    sbverband TEXT,
    slverband TEXT,
    sland TEXT,
    smemo TEXT,
    sklasse TEXT
);
CREATE INDEX Schiri_TID ON Schiri (TID);

CREATE TABLE Schiri_im_turnier (
    TID INTEGER,
    SCHIRIID INTEGER,
    KID INTEGER
);
CREATE INDEX Schiri_im_turnier_TID ON Schiri_im_turnier (TID);
CREATE INDEX Schiri_im_turnier_KID ON Schiri_im_turnier (KID);

CREATE TABLE Platten1 (
    KID INTEGER,
    platte TEXT,
    TID INTEGER
);
CREATE INDEX Platten1_KID ON Platten1 (KID);

CREATE TABLE Import (
    nachname TEXT,
    vorname TEXT,
    KID INTEGER,
    verein TEXT,
    klassen VARCHAR(50)
);

CREATE TABLE Doppelpartner (
    KID INTEGER,
    SID INTEGER,
    partner_SID INTEGER,
    mannschaft TEXT
);
CREATE INDEX Doppelpartner_KID ON Doppelpartner (KID);

CREATE TABLE Teams (
    TID INTEGER,
    KID INTEGER,
    MID INTEGER NOT NULL PRIMARY KEY,
    teamname TEXT,
    s1 INTEGER,
    s2 INTEGER,
    s3 INTEGER,
    s4 INTEGER,
    r1 INTEGER,
    r2 INTEGER,
    d1_1 INTEGER,
    d1_2 INTEGER,
    d2_1 INTEGER,
    d2_2 INTEGER,
    angemeldet INTEGER,
    verein TEXT
);
CREATE INDEX Teams_KID ON Teams (KID);

CREATE TABLE Teamsystem (
    TID INTEGER,
    KID INTEGER,
    spieler INTEGER,
    reserve INTEGER,
    s1a INTEGER, s1b INTEGER,
    s2a INTEGER, s2b INTEGER,
    s3a INTEGER, s3b INTEGER,
    s4a INTEGER, s4b INTEGER,
    s5a INTEGER, s5b INTEGER,
    s6a INTEGER, s6b INTEGER,
    s7a INTEGER, s7b INTEGER,
    s8a INTEGER, s8b INTEGER,
    s9a INTEGER, s9b INTEGER,
    frei INTEGER
);
CREATE INDEX Teamsystem_KID ON Teamsystem (KID);

CREATE TABLE Gruppeneinstellungen (
    KID INTEGER,
    phase1 INTEGER,
    phase2 INTEGER,
    phase3 INTEGER,
    gruppenanzahl1 INTEGER,
    gruppenanzahl2 INTEGER,
    gruppenanzahl3 INTEGER,
    teilnehmer1 INTEGER,
    teilnehmer2 INTEGER,
    teilnehmer3 INTEGER,
    besten1 INTEGER,
    besten2 INTEGER,
    besten3 INTEGER,
    bestplazierten1 INTEGER,
    bestplazierten2 INTEGER,
    bestplazierten3 INTEGER,
    gesetzt INTEGER,
    plattenbez TEXT
);
CREATE INDEX Gruppeneinstellungen_KID ON Gruppeneinstellungen (KID);

CREATE TABLE Gesetzt (
    KID INTEGER,
    position INTEGER,
    SID INTEGER,
    partner_SID INTEGER
);
CREATE INDEX Gesetzt_KID ON Gesetzt (KID);

CREATE TABLE KO_System (
    spieler INTEGER NOT NULL,
    gesetzt INTEGER NOT NULL,
    position INTEGER NOT NULL,
    PRIMARY KEY (spieler, gesetzt)
);

CREATE TABLE Gruppen (
    KID INTEGER,
    GID INTEGER,
    pos INTEGER,
    SID INTEGER,
    bez TEXT,
    parentGID INTEGER,
    parentpos INTEGER,
    markiert INTEGER,
    plattensystem INTEGER,
    phase INTEGER
);
CREATE INDEX Gruppen_KID ON Gruppen (KID);

CREATE TABLE Platten (
    KID INTEGER,
    GID INTEGER,
    platte TEXT,
    phase INTEGER
);
CREATE INDEX Platten_KID ON Platten (KID);

CREATE TABLE Spielplan (
    KID INTEGER NOT NULL,
    spielnummer INTEGER NOT NULL,
    SID1 INTEGER,
    spieler1 TEXT,
    SID2 INTEGER,
    spieler2 TEXT,
    satz1 INTEGER, satz2 INTEGER, satz3 INTEGER, satz4 INTEGER, satz5 INTEGER,
    satz6 INTEGER, satz7 INTEGER, satz8 INTEGER, satz9 INTEGER,
    ergebnis TEXT,
    parentspiel1 INTEGER,
    parentsieger1 INTEGER,
    parentspiel2 INTEGER,
    parentsieger2 INTEGER,
    parentGID1 INTEGER,
    parentpos1 INTEGER,
    parentGID2 INTEGER,
    parentpos2 INTEGER,
    in_planung INTEGER,
    begonnen INTEGER,
    beendet INTEGER,
    manuell INTEGER,
    spielstart TIMESTAMP,
    spielende TIMESTAMP,
    siegerSID INTEGER,
    verliererSID INTEGER,
    phase INTEGER,
    gruppe INTEGER,
    aufruf1_sp1 TIMESTAMP,
    aufruf1_sp2 TIMESTAMP,
    aufruf1_sch TIMESTAMP,
    aufruf2_sp1 TIMESTAMP,
    aufruf2_sp2 TIMESTAMP,
    aufruf2_sch TIMESTAMP,
    aufruf3_sp1 TIMESTAMP,
    aufruf3_sp2 TIMESTAMP,
    aufruf3_sch TIMESTAMP,
    an_platte TEXT,
    schiri TEXT,
    geplanter_tisch TEXT,
    geplanter_tag DATE,
    geplante_zeit TIMESTAMP,
    reserve TEXT,
    platz INTEGER,
    TID INTEGER,
    PRIMARY KEY (KID, spielnummer)
);
CREATE INDEX Spielplan_TID ON Spielplan (TID);

CREATE TABLE Teamspiele (
    KID INTEGER NOT NULL,
    spielnummer INTEGER NOT NULL,
    nummer INTEGER NOT NULL,
    MID1 INTEGER,
    SID1 INTEGER,
    spieler1 TEXT,
    MID2 INTEGER,
    SID2 INTEGER,
    spieler2 TEXT,
    satz1 INTEGER, satz2 INTEGER, satz3 INTEGER, satz4 INTEGER, satz5 INTEGER,
    satz6 INTEGER, satz7 INTEGER, satz8 INTEGER, satz9 INTEGER,
    ergebnis TEXT,
    in_planung INTEGER,
    begonnen INTEGER,
    beendet INTEGER,
    manuell INTEGER,
    spielstart TIMESTAMP,
    spielende TIMESTAMP,
    siegerSID INTEGER,
    verliererSID INTEGER,
    phase INTEGER,
    gruppe INTEGER,
    an_platte TEXT,
    schiri TEXT,
    geplanter_tisch TEXT,
    geplanter_tag DATE,
    geplante_zeit TIMESTAMP,
    TID INTEGER,
    sbez1 TEXT,
    sbez2 TEXT,
    p1 INTEGER,
    p2 INTEGER,
    parentspiel1 INTEGER,
    parentsieger1 INTEGER,
    parentspiel2 INTEGER,
    parentsieger2 INTEGER,
    parentGID1 INTEGER,
    parentpos1 INTEGER,
    parentGID2 INTEGER,
    parentpos2 INTEGER,
    PRIMARY KEY (KID, spielnummer, nummer)
);
CREATE INDEX Teamspiele_TID ON Teamspiele (TID);

CREATE TABLE Tabellen (
    KID INTEGER,
    GID INTEGER,
    pos INTEGER,
    SID INTEGER,
    bez TEXT,
    spielanzahl INTEGER,
    spielegewonnen INTEGER,
    spieleverloren INTEGER,
    saetzegewonnen INTEGER,
    saetzeverloren INTEGER,
    punktegewonnen INTEGER,
    punkteverloren INTEGER,
    matchegewonnen INTEGER,
    markiert INTEGER,
    matcheverloren INTEGER,
    parentGID INTEGER,
    parentpos INTEGER,
    phase INTEGER
);
CREATE INDEX Tabellen_KID ON Tabellen (KID);
