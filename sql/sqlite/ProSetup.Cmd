-- Protocol tool objects for the SQLite farm database.
-- Batches end at GO lines; every batch is one statement (the SQLite driver runs one statement
-- per command). Comment lines start in the first column, and no statement has an empty line.
-- NextLvlDate and DisIn are filled by the tool after every change of enrolments, with the
-- solar day arithmetic it registers on its connection (SQLite has no stored procedures).
--
-- The levels of each protocol: one row per level, the level number unique within a protocol.
-- PDesignID only gives the rows a key for editing.
CREATE TABLE IF NOT EXISTS P_ProtocolDesign (
    ProName TEXT NOT NULL,
    PLevel INTEGER NOT NULL,
    PDays INTEGER,
    PAct TEXT,
    PDesignID INTEGER PRIMARY KEY,
    UNIQUE (ProName, PLevel)
)
GO
-- One row per enrolment of a cow in a protocol. An enrolment is open while POutDate is NULL or
-- blank; the RTRIM collation makes POutDate = '' true for blanks only, as the server's
-- comparison ignores trailing blanks.
CREATE TABLE IF NOT EXISTS P_Work (
    ProID INTEGER PRIMARY KEY AUTOINCREMENT,
    ProName TEXT,
    Serial TEXT,
    PCurLevel INTEGER,
    PInDate TEXT,
    PDoc TEXT,
    StartCurActDate TEXT,
    PLastAct TEXT,
    PNextAct TEXT,
    NextLvlDays TEXT,
    NextLvlDate TEXT,
    POutDate TEXT COLLATE RTRIM,
    POutResone TEXT,
    DisIn INTEGER
)
GO
CREATE INDEX IF NOT EXISTS P_Work_Serial ON P_Work (Serial)
GO
CREATE INDEX IF NOT EXISTS P_Work_Level ON P_Work (ProName, PCurLevel)
GO
-- One protocol's enrolments in key order, for the first screen of a protocol tab.
CREATE INDEX IF NOT EXISTS P_Work_Name ON P_Work (ProName)
GO
-- The work list: every enrolment with the cow's figures, also when the cow is missing from
-- the herd. It takes the figures from the two tables under cowStatusView (the cow register
-- and its status rows) rather than from the view itself: SQLite cannot merge a view that is
-- a join into the right side of an outer join, and would build the whole herd's view for
-- every look-up of one enrolment.
CREATE VIEW IF NOT EXISTS P_vWork AS
SELECT
    w.ProName AS ProName,
    w.PCurLevel AS PCurLevel,
    m.Body AS Body,
    m.MilkPeriod AS MilkPeriod,
    w.PInDate AS PInDate,
    w.StartCurActDate AS StartCurActDate,
    w.PLastAct AS PLastAct,
    w.PDoc AS PDoc,
    w.NextLvlDate AS NextLvlDate,
    w.PNextAct AS PNextAct,
    w.DisIn AS DisIn,
    s.CowKind AS CowKind,
    s.LastBriding AS LastBriding,
    s.DateLastBriding AS DateLastBriding,
    s.TalghihStatus AS TalghihStatus,
    s.DateTalghih AS DateTalghih,
    s.LastTDate AS LastTDate,
    s.TNum AS TNum,
    s.DryStartDate AS DryStartDate,
    s.ZDate AS ZDate,
    s.ZSDate AS ZSDate,
    s.ZSittuation AS ZSittuation,
    s.MilkAmountSumDate AS MilkAmountSumDate,
    s.MilkAmountSum AS MilkAmountSum,
    s.BCode AS BCode,
    w.POutDate AS POutDate,
    w.POutResone AS POutResone,
    w.Serial AS Serial,
    w.ProID AS ProID,
    w.NextLvlDays AS NextLvlDays
FROM P_Work w
    LEFT OUTER JOIN Main m ON m.Serial = w.Serial
    LEFT OUTER JOIN CowStatus s ON s.Serial = m.Serial
GO
-- Edits of the work list's rows reach the enrolment with the same ProID; the cow's figures
-- belong to the suite and are not written.
CREATE TRIGGER IF NOT EXISTS P_vWork_Update INSTEAD OF UPDATE ON P_vWork
BEGIN
    UPDATE P_Work SET
        ProName = NEW.ProName,
        Serial = NEW.Serial,
        PCurLevel = NEW.PCurLevel,
        PInDate = NEW.PInDate,
        PDoc = NEW.PDoc,
        StartCurActDate = NEW.StartCurActDate,
        PLastAct = NEW.PLastAct,
        PNextAct = NEW.PNextAct,
        NextLvlDays = NEW.NextLvlDays,
        NextLvlDate = NEW.NextLvlDate,
        POutDate = NEW.POutDate,
        POutResone = NEW.POutResone,
        DisIn = NEW.DisIn
    WHERE ProID = OLD.ProID;
END
GO
