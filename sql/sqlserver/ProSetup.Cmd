-- Protocol tool objects for the farm's SQL Server database.
-- Untested against a live server: no server can run where this tool is built. Review it, and
-- run it once on a copy of a farm database, before it is delivered.
-- Batches end at GO lines. Comment lines start in the first column; no statement has an
-- empty line. Written for SQL Server 2005 and later (no DECLARE with a value, no IIF or
-- TRY_CAST).
-- Texts are nvarchar, so that Persian text is stored whatever the columns' collation. The
-- tool writes its Persian literals without the N prefix, as the suite does, so the database's
-- default collation must be an Arabic one (code page 1256) for those literals to arrive.
-- Dates are solar date texts "yyyy/mm/dd" in varchar(10).
--
-- The levels of each protocol: one row per level, the level number unique within a protocol.
-- PDesignID only gives the rows a key for editing.
IF OBJECT_ID('dbo.P_ProtocolDesign', 'U') IS NULL
CREATE TABLE dbo.P_ProtocolDesign (
    ProName nvarchar(50) NOT NULL,
    PLevel int NOT NULL,
    PDays int NULL,
    PAct nvarchar(100) NULL,
    PDesignID int IDENTITY(1, 1) NOT NULL CONSTRAINT PK_P_ProtocolDesign PRIMARY KEY,
    CONSTRAINT UQ_P_ProtocolDesign_Level UNIQUE (ProName, PLevel)
)
GO
-- One row per enrolment of a cow in a protocol; open while POutDate is NULL or blank (the
-- server's = ignores trailing blanks). NextLvlDate and DisIn are written by E_P_ComputeDis.
-- Serial is varchar so that a join with the suite's Serial converts our side, not the suite's.
IF OBJECT_ID('dbo.P_Work', 'U') IS NULL
CREATE TABLE dbo.P_Work (
    ProID int IDENTITY(1, 1) NOT NULL CONSTRAINT PK_P_Work PRIMARY KEY,
    ProName nvarchar(50) NULL,
    Serial varchar(20) NULL,
    PCurLevel int NULL,
    PInDate varchar(10) NULL,
    PDoc nvarchar(100) NULL,
    StartCurActDate varchar(10) NULL,
    PLastAct nvarchar(100) NULL,
    PNextAct nvarchar(100) NULL,
    NextLvlDays varchar(10) NULL,
    NextLvlDate varchar(10) NULL,
    POutDate varchar(10) NULL,
    POutResone nvarchar(200) NULL,
    DisIn int NULL
)
GO
IF NOT EXISTS (SELECT * FROM sysindexes WHERE name = 'IX_P_Work_Serial')
CREATE INDEX IX_P_Work_Serial ON dbo.P_Work (Serial)
GO
IF NOT EXISTS (SELECT * FROM sysindexes WHERE name = 'IX_P_Work_Level')
CREATE INDEX IX_P_Work_Level ON dbo.P_Work (ProName, PCurLevel)
GO
IF OBJECT_ID('dbo.P_vWork', 'V') IS NOT NULL
DROP VIEW dbo.P_vWork
GO
-- The work list: every enrolment with the cow's figures, also when the cow is missing from the
-- suite's view. Every column it may update comes from P_Work alone, which keeps the view
-- updatable: the group operations edit and post its rows.
CREATE VIEW dbo.P_vWork
AS
SELECT
    w.ProName,
    w.PCurLevel,
    c.Body,
    c.MilkPeriod,
    w.PInDate,
    w.StartCurActDate,
    w.PLastAct,
    w.PDoc,
    w.NextLvlDate,
    w.PNextAct,
    w.DisIn,
    c.CowKind,
    c.LastBriding,
    c.DateLastBriding,
    c.TalghihStatus,
    c.DateTalghih,
    c.LastTDate,
    c.TNum,
    c.DryStartDate,
    c.ZDate,
    c.ZSDate,
    c.ZSittuation,
    c.MilkAmountSumDate,
    c.MilkAmountSum,
    c.BCode,
    w.POutDate,
    w.POutResone,
    w.Serial,
    w.ProID,
    w.NextLvlDays
FROM dbo.P_Work w
    LEFT OUTER JOIN dbo.cowStatusView c ON c.Serial = w.Serial
GO
-- Solar calendar day arithmetic. Day numbers are Julian day numbers, and the years follow the
-- 2820-year arithmetic rule (a year Y is a leap year when ((Y + 2346) * 683) mod 2820 < 683,
-- and year Y begins floor((Y - 475) * 1029983 / 2820) days after 475/01/01, Julian day
-- 2121446): the rule of Qt's Jalali calendar, which the tool uses on SQLite, so that both
-- engines give the same dates. A text is read as the tool reads typed dates: blanks around it
-- are dropped, it has two slashes and only digits besides, a year of fewer than four digits
-- is completed from 1300, month 1 to 12, day 1 to 31; a day beyond its month's length counts
-- on into the next month. Anything else gives NULL. Parts of more than nine digits give NULL.
IF OBJECT_ID('dbo.E_P_ComputeDis', 'P') IS NOT NULL
DROP PROCEDURE dbo.E_P_ComputeDis
GO
IF OBJECT_ID('dbo.P_SolarToDays', 'FN') IS NOT NULL
DROP FUNCTION dbo.P_SolarToDays
GO
IF OBJECT_ID('dbo.P_DaysToSolar', 'FN') IS NOT NULL
DROP FUNCTION dbo.P_DaysToSolar
GO
CREATE FUNCTION dbo.P_SolarToDays (@Text varchar(30))
RETURNS int
WITH SCHEMABINDING
AS
BEGIN
    DECLARE @s varchar(30), @p1 int, @p2 int
    DECLARE @ys varchar(30), @ms varchar(30), @ds varchar(30)
    DECLARE @y int, @m int, @d int, @n bigint, @yearStart bigint
    IF @Text IS NULL
        RETURN NULL
    SET @s = LTRIM(RTRIM(REPLACE(REPLACE(REPLACE(@Text, CHAR(9), ' '), CHAR(10), ' '), CHAR(13), ' ')))
    IF @s = '' OR PATINDEX('%[^0-9/]%', @s) > 0
        RETURN NULL
    IF LEN(@s) - LEN(REPLACE(@s, '/', '')) <> 2
        RETURN NULL
    SET @p1 = CHARINDEX('/', @s)
    SET @p2 = CHARINDEX('/', @s, @p1 + 1)
    SET @ys = SUBSTRING(@s, 1, @p1 - 1)
    SET @ms = SUBSTRING(@s, @p1 + 1, @p2 - @p1 - 1)
    SET @ds = SUBSTRING(@s, @p2 + 1, 30)
    IF LEN(@ys) = 0 OR LEN(@ms) = 0 OR LEN(@ds) = 0
        RETURN NULL
    IF LEN(@ys) > 9 OR LEN(@ms) > 9 OR LEN(@ds) > 9
        RETURN NULL
    IF LEN(@ys) < 4
        SET @ys = LEFT('1300', 4 - LEN(@ys)) + @ys
    SET @y = CAST(@ys AS int)
    SET @m = CAST(@ms AS int)
    SET @d = CAST(@ds AS int)
    IF @y < 1 OR @m < 1 OR @m > 12 OR @d < 1 OR @d > 31
        RETURN NULL
    SET @n = CAST(@y - 475 AS bigint) * 1029983
    IF @n >= 0
        SET @yearStart = 2121446 + @n / 2820
    ELSE
        SET @yearStart = 2121446 - ((-@n + 2819) / 2820)
    RETURN CAST(@yearStart
        + CASE WHEN @m <= 7 THEN (@m - 1) * 31 ELSE 186 + (@m - 7) * 30 END
        + @d - 1 AS int)
END
GO
CREATE FUNCTION dbo.P_DaysToSolar (@Day int)
RETURNS varchar(10)
WITH SCHEMABINDING
AS
BEGIN
    DECLARE @n bigint, @yic bigint, @y int, @start bigint, @dayOfYear int, @length int, @m int, @d int
    IF @Day IS NULL
        RETURN NULL
    SET @n = CAST(@Day - 2121446 AS bigint) * 2820
    IF @n >= 0
        SET @yic = @n / 1029983
    ELSE
        SET @yic = -((-@n + 1029982) / 1029983)
    SET @y = CAST(@yic + 475 AS int)
    SET @n = @yic * 1029983
    IF @n >= 0
        SET @start = 2121446 + @n / 2820
    ELSE
        SET @start = 2121446 - ((-@n + 2819) / 2820)
    SET @dayOfYear = CAST(@Day - @start AS int) + 1
    SET @length = CASE WHEN ((CAST(@y AS bigint) + 2346) * 683) % 2820 < 683 THEN 366 ELSE 365 END
    IF @dayOfYear > @length
    BEGIN
        SET @y = @y + 1
        SET @dayOfYear = 1
    END
    IF @y < 1 OR @y > 9999
        RETURN NULL
    IF @dayOfYear <= 186
    BEGIN
        SET @m = (@dayOfYear - 1) / 31 + 1
        SET @d = (@dayOfYear - 1) % 31 + 1
    END
    ELSE
    BEGIN
        SET @m = (@dayOfYear - 187) / 30 + 7
        SET @d = (@dayOfYear - 187) % 30 + 1
    END
    RETURN RIGHT('000' + CAST(@y AS varchar(4)), 4) + '/'
        + RIGHT('0' + CAST(@m AS varchar(2)), 2) + '/'
        + RIGHT('0' + CAST(@d AS varchar(2)), 2)
END
GO
-- Run by the tool with today's solar date after every change of enrolments. For every
-- enrolment:
--   NextLvlDate = StartCurActDate moved on by the PDays of level PCurLevel + 1 less the PDays
--                 of PCurLevel; the empty text when the protocol has no level PCurLevel + 1 (a
--                 gap in the level numbers ends the protocol), no level PCurLevel, or the date
--                 is unusable;
--   DisIn       = days from PInDate to @Today while the enrolment is open, to POutDate once it
--                 is closed; NULL when a date is unusable.
-- Only rows whose values change are written.
CREATE PROCEDURE dbo.E_P_ComputeDis
    @Today varchar(10)
AS
BEGIN
    SET NOCOUNT ON
    DECLARE @TodayDay int
    SET @TodayDay = dbo.P_SolarToDays(@Today)
    UPDATE w SET
        NextLvlDate = x.NewNextLvlDate,
        DisIn = x.NewDisIn
    FROM dbo.P_Work w
        INNER JOIN (
            SELECT
                e.ProID,
                ISNULL(dbo.P_DaysToSolar(dbo.P_SolarToDays(e.StartCurActDate) + n.PDays - c.PDays), '')
                    AS NewNextLvlDate,
                CASE WHEN e.POutDate IS NULL OR LTRIM(RTRIM(e.POutDate)) = '' THEN @TodayDay
                    ELSE dbo.P_SolarToDays(e.POutDate) END
                    - dbo.P_SolarToDays(e.PInDate) AS NewDisIn
            FROM dbo.P_Work e
                LEFT OUTER JOIN dbo.P_ProtocolDesign c ON c.ProName = e.ProName AND c.PLevel = e.PCurLevel
                LEFT OUTER JOIN dbo.P_ProtocolDesign n ON n.ProName = e.ProName AND n.PLevel = e.PCurLevel + 1
        ) x ON x.ProID = w.ProID
    WHERE w.NextLvlDate IS NULL
        OR w.NextLvlDate <> x.NewNextLvlDate
        OR (w.DisIn IS NULL AND x.NewDisIn IS NOT NULL)
        OR (w.DisIn IS NOT NULL AND x.NewDisIn IS NULL)
        OR w.DisIn <> x.NewDisIn
END
GO
