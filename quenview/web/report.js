// quenview report page. It reads the model that quenview put into the page as
// JSON and builds the report of one board or the comparison of two. Block
// contents are built and their charts drawn (by uPlot) as they come near the
// view, and the rest while the browser is idle, so that large images open
// quickly. Printing builds and draws everything first.
'use strict';

(function () {
    const model = JSON.parse(document.getElementById('quenview-model').textContent);
    const root = document.getElementById('report');

    // ---- small helpers --------------------------------------------------------

    function h(tag, attrs, ...children) {
        const node = document.createElement(tag);
        for (const [key, value] of Object.entries(attrs || {})) {
            if (value === null || value === undefined || value === false) continue;
            if (key === 'class') node.className = value;
            else if (key === 'text') node.textContent = value;
            else if (key === 'dataset') Object.assign(node.dataset, value);
            else node.setAttribute(key, value === true ? '' : value);
        }
        for (const child of children.flat(Infinity)) {
            if (child === null || child === undefined || child === false) continue;
            node.append(child instanceof Node ? child : String(child));
        }
        return node;
    }

    const htmlEscapes = { '&': '&amp;', '<': '&lt;', '>': '&gt;', '"': '&quot;' };
    function escapeHtml(text) {
        return String(text).replace(/[&<>"]/g, (c) => htmlEscapes[c]);
    }

    // Values are shown as the model holds them, to 15 significant digits so that
    // the last bit of a scaled value (0.35000000000000003) does not show; a
    // no-value is blank.
    function formatNumber(value) {
        if (value === null || value === undefined) return '';
        return typeof value === 'number' ? String(Number(value.toPrecision(15))) : String(value);
    }

    function formatDifference(value) {
        if (value === null || value === undefined) return '';
        return value > 0 ? '+' + formatNumber(value) : formatNumber(value);
    }

    function formatHex(value, digits) {
        return '0x' + value.toString(16).toUpperCase().padStart(digits, '0');
    }

    function withUnit(quantity) {
        return quantity.unit ? `${quantity.name} [${quantity.unit}]` : quantity.name;
    }

    function plural(count, one, many) {
        return `${count} ${count === 1 ? one : many}`;
    }

    // Operating hours as the text writes them: whole hours and millionths.
    function formatHours(record) {
        return `${record.hours}.${String(record.hoursFraction).padStart(6, '0')}`;
    }

    function section(id, title, ...content) {
        return h('section', { id, class: 'part' }, h('h2', { text: title }), content);
    }

    function definitionGrid(pairs) {
        return h('dl', { class: 'board' },
            pairs.map(([term, value]) => h('div', null, h('dt', { text: term }), h('dd', { text: value }))));
    }

    function simpleTable(className, headers, rows) {
        return h('div', { class: 'table-wrap' },
            h('table', { class: className },
                h('thead', null, h('tr', null, headers.map((text) => h('th', { text })))),
                h('tbody', null, rows.map((cells) => h('tr', null, cells.map((cell) =>
                    cell instanceof Node ? h('td', null, cell)
                        : h('td', { class: typeof cell === 'number' ? 'num' : null, text: formatNumber(cell) })))))));
    }

    // ---- status -------------------------------------------------------------

    const blockStateLabels = {
        verified: 'checksum ok',
        checksumFailed: 'checksum failed',
        unknownId: 'unknown id',
        unloadable: 'cannot be loaded',
    };

    function damageFacts(status) {
        const facts = [];
        if (status.failedChecksums > 0) facts.push(plural(status.failedChecksums, 'block fails its checksum', 'blocks fail their checksums'));
        if (status.unknownIds > 0) facts.push(plural(status.unknownIds, 'block with an unknown id', 'blocks with unknown ids'));
        if (status.unloadable > 0) facts.push(plural(status.unloadable, 'block its type cannot load', 'blocks their types cannot load'));
        if (status.walkEnd === 'cutShort') facts.push(`cut short: the image ends at offset ${formatHex(status.endOffset, 4)} without an END block`);
        if (status.walkEnd === 'untrustedLength') facts.push(`a block length that cannot be trusted ends the walk at offset ${formatHex(status.endOffset, 4)}`);
        if (status.trailing === 'content') facts.push(`${plural(status.trailingBytes, 'byte', 'bytes')} of unexpected content after END`);
        return facts;
    }

    function plainFacts(status) {
        const facts = [plural(status.blockCount, 'block', 'blocks')];
        if (status.walkEnd === 'identOnly') facts.push('the ident block alone, as this board stores it');
        if (status.trailing === 'erased') facts.push(`${plural(status.trailingBytes, 'erased byte', 'erased bytes')} (0xFF) after END`);
        if (status.trailing === 'zero') facts.push(`${plural(status.trailingBytes, 'zero byte', 'zero bytes')} after END`);
        return facts;
    }

    function statusBadge(status) {
        const word = status.verified ? 'verified' : 'damaged';
        return h('span', { class: `badge status-badge ${word}`, text: word });
    }

    function statusLine(status) {
        const damage = damageFacts(status);
        return h('div', { class: 'status-line' },
            statusBadge(status),
            h('span', { class: 'status-summary', text: [...damage, ...plainFacts(status)].join('; ') }));
    }

    // ---- header and service history ------------------------------------------

    function boardFacts(board) {
        if (!board.present) return h('p', { class: 'damage-note', text: 'The image has no readable ident block.' });
        return definitionGrid([
            ['unit name', board.unitName],
            ['part number', board.partNumber],
            ['serial number', String(board.serialNumber)],
            ['product date', board.productDate],
            ['hardware code', String(board.hardwareCode)],
            ['product index', board.productIndex],
            ['test instruction', board.testInstruction],
            ['data version', String(board.dataVersion)],
            ['EEPROM size', `${board.eepromSize} bytes`],
            ['in use', `${board.bytesInUse} bytes`],
        ]);
    }

    function fileLine(file) {
        return h('p', { class: 'file' },
            h('span', { class: 'file-name', text: file.name }),
            ` (${file.kind}, ${plural(file.size, 'byte', 'bytes')}) SHA-256 `,
            h('span', { class: 'sha', text: file.sha256 }));
    }

    function boardHeader(report, role) {
        return h('div', { class: 'board-header' },
            role ? h('h3', { text: role }) : null,
            fileLine(report.file),
            statusLine(report.status),
            boardFacts(report.board));
    }

    function serviceContent(service) {
        const records = service.records.length === 0 ? h('p', { class: 'muted', text: 'No service records.' })
            : simpleTable('service-records', ['record', 'date', 'department', 'operating hours [h]', 'repair number', 'service code'],
                service.records.map((r) => [r.id, r.date, r.department, formatHours(r), r.repairNumber, r.serviceCode]));
        const codes = service.modificationCodes.length === 0 ? h('p', { class: 'muted', text: 'No modification codes.' })
            : simpleTable('modification-codes', ['modification code', 'state'],
                service.modificationCodes.map((c) => [c.number, c.state]));
        return [
            records,
            h('h4', { text: 'Modification codes' }), codes,
            h('p', { class: 'statistics' }, 'Statistics: ',
                service.statisticsHours === null ? 'no operating hours recorded'
                    : `${formatNumber(service.statisticsHours)} operating hours`),
        ];
    }

    // ---- block list -----------------------------------------------------------

    // rows: { anchor, name, cells, classes }
    function blockList(rows, headers) {
        const filter = h('input', {
            type: 'search', id: 'block-filter', placeholder: 'Filter blocks by name',
            'aria-label': 'Filter blocks by name', autocomplete: 'off',
        });
        const count = h('span', { class: 'list-count', 'aria-live': 'polite' });
        const body = h('tbody', null, rows.map((row) => h('tr', { class: row.classes, dataset: { name: row.name.toLowerCase() } },
            row.cells.map((cell, i) => i === 1
                ? h('td', null, h('a', { href: '#' + row.anchor, class: 'block-link', text: cell || '(no name)' }))
                : h('td', { class: typeof cell === 'number' ? 'num' : null, text: cell })))));
        const table = h('table', { id: 'block-list' }, h('thead', null, h('tr', null, headers.map((text) => h('th', { text })))), body);

        function visibleRows() {
            return Array.from(body.rows).filter((tr) => !tr.hidden);
        }
        function applyFilter() {
            const query = filter.value.trim().toLowerCase();
            for (const tr of body.rows) tr.hidden = query !== '' && !tr.dataset.name.includes(query);
            count.textContent = `${visibleRows().length} of ${rows.length} blocks`;
        }
        function focusRow(tr) {
            if (!tr) return;
            for (const other of body.querySelectorAll('tr.selected')) other.classList.remove('selected');
            tr.classList.add('selected');
            tr.querySelector('a').focus();
        }
        filter.addEventListener('input', applyFilter);
        filter.addEventListener('keydown', (event) => {
            if (event.key === 'ArrowDown') {
                event.preventDefault();
                focusRow(visibleRows()[0]);
            } else if (event.key === 'Enter') {
                const first = visibleRows()[0];
                if (first) first.querySelector('a').click();
            } else if (event.key === 'Escape') {
                filter.value = '';
                applyFilter();
            }
        });
        body.addEventListener('keydown', (event) => {
            const tr = event.target.closest('tr');
            if (!tr) return;
            const visible = visibleRows();
            const at = visible.indexOf(tr);
            const moves = { ArrowDown: at + 1, ArrowUp: at - 1, Home: 0, End: visible.length - 1 };
            if (!(event.key in moves)) return;
            event.preventDefault();
            if (event.key === 'ArrowUp' && at === 0) filter.focus();
            else focusRow(visible[Math.max(0, Math.min(visible.length - 1, moves[event.key]))]);
        });
        applyFilter();
        return h('div', null,
            h('div', { class: 'list-tools' }, filter, count,
                h('span', { class: 'keys' }, h('kbd', { text: '/' }), ' filter, ', h('kbd', { text: '\u2191' }), h('kbd', { text: '\u2193' }),
                    ' move in the list, ', h('kbd', { text: 'j' }), h('kbd', { text: 'k' }), ' next and previous block')),
            h('div', { class: 'table-wrap' }, table));
    }

    // j and k step through the block sections; "/" goes to the filter box.
    function keyboardShortcuts() {
        document.addEventListener('keydown', (event) => {
            if (event.ctrlKey || event.metaKey || event.altKey) return;
            const typing = event.target.closest && event.target.closest('input, textarea');
            if (typing) return;
            if (event.key === '/') {
                event.preventDefault();
                document.getElementById('block-filter').focus();
                return;
            }
            if (event.key !== 'j' && event.key !== 'k') return;
            const sections = Array.from(document.querySelectorAll('section.block'));
            const target = event.key === 'j'
                ? sections.find((s) => s.getBoundingClientRect().top > 8)
                : sections.filter((s) => s.getBoundingClientRect().top < -8).pop();
            if (target) {
                target.scrollIntoView();
                history.replaceState(null, '', '#' + target.id);
            }
        });
    }

    // ---- block contents ---------------------------------------------------------

    // A key for a changed value: the grid title, the row and the value's name.
    function changeKey(grid, row, name) {
        return `${grid}\u0000${row === null || row === undefined ? '' : row}\u0000${name}`;
    }

    function changeMap(changes) {
        const map = new Map();
        for (const change of changes || []) map.set(changeKey(change.grid, change.row, change.name), change);
        return map;
    }

    function changedCellHtml(value, change) {
        const before = change.beforeText !== undefined ? change.beforeText : formatNumber(change.before);
        const after = change.afterText !== undefined ? change.afterText : formatNumber(change.after);
        const title = `before ${before || '(none)'}, after ${after || '(none)'}` +
            (change.difference !== null ? `, difference ${formatDifference(change.difference)}` : '');
        return `<td class="num changed" title="${escapeHtml(title)}"><span class="after">${escapeHtml(value)}</span>` +
            `<span class="was">${escapeHtml(before || '(none)')}</span>` +
            (change.difference !== null ? `<span class="diff">\u0394 ${escapeHtml(formatDifference(change.difference))}</span>` : '') +
            '</td>';
    }

    function fieldsTable(fields, changes) {
        let html = '<table class="fields"><thead><tr><th>value</th><th>physical</th><th>unit</th><th>stored</th></tr></thead><tbody>';
        for (const field of fields) {
            const shown = field.text !== undefined ? field.text : formatNumber(field.value);
            const change = changes.get(changeKey('', null, field.name));
            html += `<tr><th scope="row">${escapeHtml(field.name)}</th>` +
                (change ? changedCellHtml(shown, change) : `<td class="num">${escapeHtml(shown)}</td>`) +
                `<td>${escapeHtml(field.unit)}</td><td class="num">${field.text !== undefined ? '' : formatNumber(field.raw)}</td></tr>`;
        }
        return html + '</tbody></table>';
    }

    function gridTable(grid, changes) {
        const numbered = grid.xValues.length === 0;
        let html = '<table class="grid"><thead><tr><th>' + escapeHtml(numbered ? (grid.x.name || 'row') : withUnit(grid.x)) + '</th>';
        for (const column of grid.columns) html += `<th>${escapeHtml(withUnit(column))}</th>`;
        html += '</tr></thead><tbody>';
        const parts = [html];
        for (let r = 0; r < grid.values.length; ++r) {
            const row = grid.values[r];
            let line = `<tr><th scope="row" class="num">${numbered ? r + 1 : formatNumber(grid.xValues[r])}</th>`;
            for (let c = 0; c < row.length; ++c) {
                const change = changes.size ? changes.get(changeKey(grid.title, r, grid.columns[c].name)) : undefined;
                line += change ? changedCellHtml(formatNumber(row[c]), change) : `<td class="num">${formatNumber(row[c])}</td>`;
            }
            parts.push(line + '</tr>');
        }
        parts.push('</tbody></table>');
        return parts.join('');
    }

    function changesTable(changes) {
        let html = '<table class="changes"><thead><tr><th>where</th><th>value</th><th>row</th><th>x</th>' +
            '<th>before</th><th>after</th><th>difference</th></tr></thead><tbody>';
        for (const change of changes) {
            const before = change.beforeText !== undefined ? change.beforeText : formatNumber(change.before);
            const after = change.afterText !== undefined ? change.afterText : formatNumber(change.after);
            html += `<tr><td>${escapeHtml(change.grid)}</td><td>${escapeHtml(change.name)}</td>` +
                `<td class="num">${change.row === null ? '' : change.row + 1}</td><td class="num">${formatNumber(change.x)}</td>` +
                `<td class="num">${escapeHtml(before)}</td><td class="num">${escapeHtml(after)}</td>` +
                `<td class="num">${formatDifference(change.difference)}</td></tr>`;
        }
        return html + '</tbody></table>';
    }

    function hexDump(hex) {
        const lines = [];
        for (let at = 0; at < hex.length; at += 32) {
            const chunk = hex.slice(at, at + 32);
            const bytes = chunk.match(/../g) || [];
            const text = bytes.map((b) => {
                const code = parseInt(b, 16);
                return code >= 0x20 && code < 0x7f ? String.fromCharCode(code) : '.';
            }).join('');
            lines.push(`${(at / 2).toString(16).padStart(6, '0')}  ${bytes.join(' ').padEnd(47)}  ${text}`);
        }
        return lines.join('\n');
    }

    function hasSeries(grid) {
        return grid.chart && grid.columns.length > 0 && grid.values.length > 0;
    }

    // A block's charts: its charted grids in one chart, or one per quantity
    // along x where its grids stand over different ones. The grids of a
    // comparison's first input join those of the second by title.
    function chartJobs(block, before) {
        const jobs = new Map();
        block.grids.forEach((grid, index) => {
            if (!hasSeries(grid)) return;
            const numbered = grid.xValues.length === 0;
            const key = numbered ? '\u0000row' : `${grid.x.name}\u0000${grid.x.unit}`;
            if (!jobs.has(key)) jobs.set(key, { title: grid.title, x: grid.x, numbered, first: index, parts: [] });
            const beforeGrid = before ? before.grids.find((g) => g.title === grid.title && hasSeries(g)) || null : null;
            jobs.get(key).parts.push({ grid, beforeGrid });
        });
        return Array.from(jobs.values());
    }

    // The charts of the page, to know when the last one is drawn.
    function countCharts(pageModel) {
        const count = (block, before) => chartJobs(block, before).length;
        if (pageModel.kind !== 'comparison') return pageModel.report.blocks.reduce((sum, b) => sum + count(b, null), 0);
        return comparisonBlocks(pageModel.comparison).reduce((sum, p) => sum + count(p.after || p.before, p.after ? p.before : null), 0);
    }

    // Short tables are shown open; longer ones are built when they are opened
    // (or printed), so that a long image stays quick and short. A charted
    // grid's chart and its hover give the values meanwhile.
    function opensAtOnce(grid) {
        const rows = grid.values.length;
        return rows * grid.columns.length <= 600 && rows <= (hasSeries(grid) ? 12 : 40);
    }
    const tableBuilders = new WeakMap();

    function valuesDetails(label, open, build) {
        return { html: `<details class="values"${open ? ' open' : ''}><summary>${escapeHtml(label)}</summary>` +
            `<div class="table-wrap">${open ? build() : ''}</div></details>`, build: open ? null : build };
    }

    function openTable(details) {
        const build = tableBuilders.get(details);
        if (!build) return;
        tableBuilders.delete(details);
        details.querySelector('.table-wrap').innerHTML = build();
    }

    // Builds the content of one block section: fields, then each grid with its
    // chart and its table (the chart's text alternative), or the hex dump.
    // `before` is the other side of a comparison (or null).
    function buildContent(holder, block, before, changes) {
        const parts = [];
        const closed = [];
        const add = (part) => {
            parts.push(part.html);
            if (part.build) closed.push(part.build);
        };
        if (block.fields.length > 0) parts.push(`<div class="table-wrap">${fieldsTable(block.fields, changes)}</div>`);
        const charts = chartJobs(block, before);
        const chartHtml = (job) => {
            const label = `chart of ${job.parts.map((part) => part.grid.title).join(', ')}, values in the ${job.parts.length > 1 ? 'tables' : 'table'} below`;
            return `<div class="chart" data-chart="${job.first}" role="img" aria-label="${escapeHtml(label)}"></div>`;
        };
        block.grids.forEach((grid, index) => {
            const job = charts.find((j) => j.first === index);
            if (job && job.parts.length > 1) {
                parts.push(`<h4>${escapeHtml(`${job.parts.length} curves over ${withUnit(job.x)}`)}</h4>`, chartHtml(job));
            }
            parts.push(`<h4>${escapeHtml(grid.title)}</h4>`);
            if (job && job.parts.length === 1) parts.push(chartHtml(job));
            add(valuesDetails(`Values: ${plural(grid.values.length, 'row', 'rows')} \u00d7 ${plural(grid.columns.length, 'column', 'columns')}`,
                opensAtOnce(grid), () => gridTable(grid, changes)));
        });
        if (block.rawHex !== undefined) {
            const bytes = block.rawHex.length / 2;
            add(valuesDetails(`Bytes: ${bytes}`, bytes <= 256,
                () => `<pre class="hex">${escapeHtml(hexDump(block.rawHex))}</pre>`));
        }
        if (parts.length === 0) parts.push('<p class="muted">No values.</p>');
        holder.innerHTML = parts.join('');
        const pendingTables = holder.querySelectorAll('details.values:not([open])');
        closed.forEach((build, i) => {
            tableBuilders.set(pendingTables[i], build);
            pendingTables[i].addEventListener('toggle', () => openTable(pendingTables[i]), { once: true });
        });
        for (const job of charts) charting.watch(holder.querySelector(`.chart[data-chart="${job.first}"]`), job);
    }

    // Sections are built when they come near the view; whatever is left is
    // built while the browser is idle, so that the page can be searched.
    const pendingContent = new Map();
    const contentObserver = new IntersectionObserver((entries) => {
        for (const entry of entries) if (entry.isIntersecting) fillSection(entry.target);
    }, { rootMargin: '800px 0px' });

    function fillSection(section) {
        const build = pendingContent.get(section);
        if (!build) return;
        pendingContent.delete(section);
        contentObserver.unobserve(section);
        build();
    }

    function deferContent(section, holder, block, before, changes) {
        const rows = block.grids.reduce((sum, g) => sum + (opensAtOnce(g) ? g.values.length + 2 : 2), 0) +
            block.fields.length;
        holder.style.minHeight = `${rows * 22 + chartJobs(block, before).length * 340}px`;
        holder.textContent = 'Loading values\u2026';
        holder.classList.add('pending');
        pendingContent.set(section, () => {
            holder.classList.remove('pending');
            holder.style.minHeight = '';
            buildContent(holder, block, before, changes);
        });
        contentObserver.observe(section);
    }

    // Then the charts that have not come into view are drawn, top to bottom.
    function fillRemainingWhenIdle() {
        const idle = window.requestIdleCallback || ((callback) => setTimeout(() => callback({ timeRemaining: () => 8 }), 50));
        const step = (deadline) => {
            let more = true;
            while (more && deadline.timeRemaining() >= 4) {
                const section = pendingContent.keys().next().value;
                if (section) fillSection(section);
                else more = charting.drawNextWaiting();
            }
            if (more) idle(step);
        };
        idle(step);
    }

    function blockFacts(block) {
        const facts = [`id ${block.id}`, `offset ${formatHex(block.offset, 4)}`, `${block.length} bytes`];
        if (block.className) facts.push(block.className);
        if (block.instance) facts.push(`${block.instance.kind} ${block.instance.label}`);
        facts.push(`checksum ${formatHex(block.checksum.stored, 4)}`);
        return facts.join(' \u00b7 ');
    }

    function damageNote(block) {
        if (block.state === 'checksumFailed') {
            return `The checksum fails: stored ${formatHex(block.checksum.stored, 4)}, computed ${formatHex(block.checksum.computed, 4)}. ` +
                'The values below are what the block holds.';
        }
        if (block.state === 'unknownId') return 'No block type has this id: its bytes are shown as they are.';
        if (block.state === 'unloadable') return 'Its type cannot load this block: its bytes are shown as they are.';
        return null;
    }

    function blockTitle(block) {
        return block.name || `unknown block ${block.id}`;
    }

    function blockSection(anchor, block, extra) {
        const damaged = block.state !== 'verified';
        const note = damageNote(block);
        const holder = h('div', { class: 'content' });
        const section = h('section', { id: anchor, class: `block${damaged ? ' damaged' : ''}`, dataset: { state: block.state } },
            h('div', { class: 'block-head' },
                h('h3', { text: blockTitle(block) }),
                h('span', { class: `badge state-${block.state}`, text: blockStateLabels[block.state] })),
            h('p', { class: 'block-facts', text: blockFacts(block) }),
            note ? h('p', { class: 'damage-note', text: note }) : null,
            holder);
        return { section, holder };
    }

    // ---- report -------------------------------------------------------------------

    function renderReport(report) {
        const board = report.board;
        const anchors = report.blocks.map((_, i) => `block-${i}`);
        const rows = report.blocks.map((block, i) => ({
            anchor: anchors[i],
            name: block.name,
            classes: block.state !== 'verified' ? 'damaged' : null,
            cells: [formatHex(block.offset, 4), block.name, block.id, block.length, blockStateLabels[block.state]],
        }));
        const sections = h('div', { id: 'blocks' });
        report.blocks.forEach((block, i) => {
            const { section, holder } = blockSection(anchors[i], block);
            deferContent(section, holder, block, null, new Map());
            sections.append(section);
        });
        root.append(
            h('header', { id: 'summary' },
                h('h1', null, 'Board ', h('span', { class: 'unit-name', text: board.present ? board.unitName.trim() : report.file.name })),
                boardHeader(report, null)),
            section('service', 'Service history', serviceContent(report.service)),
            section('block-list-part', 'Blocks', blockList(rows, ['offset', 'name', 'id', 'length', 'checksum'])),
            section('block-part', 'Values', sections));
    }

    // ---- comparison ---------------------------------------------------------------

    const pairOrder = { changed: 0, onlyFirst: 1, onlySecond: 2, same: 3 };
    const pairLabels = { changed: 'changed', onlyFirst: 'only in the first', onlySecond: 'only in the second', same: 'same' };

    // Pairs name their blocks by id; repeated ids pair in file order.
    function blocksById(blocks) {
        const map = new Map();
        for (const block of blocks) {
            if (!map.has(block.id)) map.set(block.id, []);
            map.get(block.id).push(block);
        }
        return (id) => (map.get(id) || []).shift() || null;
    }

    // Each pair with the blocks it names on both sides.
    function comparisonBlocks(comparison) {
        const takeBefore = blocksById(comparison.before.blocks);
        const takeAfter = blocksById(comparison.after.blocks);
        return comparison.pairs.map((pair, i) => ({
            pair, index: i, before: takeBefore(pair.id), after: takeAfter(pair.id), anchor: `pair-${i}`,
        }));
    }

    function nameList(names, anchorOf) {
        if (names.length === 0) return h('span', { class: 'muted', text: 'none' });
        return h('span', null, names.map((name, i) => [i > 0 ? ', ' : null,
            anchorOf(name) ? h('a', { href: '#' + anchorOf(name), text: name }) : name]));
    }

    function valueChangeTable(className, changes, withRecord) {
        if (changes.length === 0) return h('p', { class: 'muted', text: 'No change.' });
        return simpleTable(className, [...(withRecord ? ['record'] : []), 'value', 'before', 'after', 'difference'],
            changes.map((c) => [...(withRecord ? [c.grid] : []), c.name,
                c.beforeText !== undefined ? c.beforeText : c.before,
                c.afterText !== undefined ? c.afterText : c.after,
                formatDifference(c.difference)]));
    }

    function renderComparison(comparison) {
        const { summary, before, after } = comparison;
        const nameOf = (report) => report.board.present ? `${report.board.unitName.trim()} ${report.board.serialNumber}` : report.file.name;

        const pairs = comparisonBlocks(comparison);
        const ordered = pairs.slice().sort((a, b) => pairOrder[a.pair.state] - pairOrder[b.pair.state] || a.index - b.index);
        const anchorByName = new Map();
        for (const p of ordered) if (!anchorByName.has(p.pair.name)) anchorByName.set(p.pair.name, p.anchor);
        const anchorOf = (name) => anchorByName.get(name);

        const rows = ordered.map((p) => {
            const shown = p.after || p.before;
            const damaged = (p.before && p.before.state !== 'verified') || (p.after && p.after.state !== 'verified');
            return {
                anchor: p.anchor,
                name: p.pair.name,
                classes: [p.pair.state === 'same' ? null : 'changed', damaged ? 'damaged' : null].filter(Boolean).join(' ') || null,
                cells: [p.pair.id, p.pair.name, pairLabels[p.pair.state], p.pair.changes.length,
                    p.before ? formatHex(p.before.offset, 4) : '', p.after ? formatHex(p.after.offset, 4) : '',
                    shown ? blockStateLabels[shown.state] : ''],
            };
        });

        const sections = h('div', { id: 'blocks' });
        for (const p of ordered) {
            const shown = p.after || p.before;
            const { section, holder } = blockSection(p.anchor, shown);
            section.classList.add(`pair-${p.pair.state}`);
            if (p.pair.state !== 'same') section.classList.add('changed');
            const head = section.querySelector('.block-head');
            head.append(h('span', { class: `badge pair-state state-${p.pair.state}`, text: pairLabels[p.pair.state] }));
            if (p.before && p.after && p.before.state !== p.after.state) {
                head.after(h('p', { class: 'block-facts', text: `before: ${blockStateLabels[p.before.state]} at ${formatHex(p.before.offset, 4)}` }));
            }
            if (p.pair.rawChanged) {
                holder.before(h('p', { class: 'damage-note', text: 'Its bytes differ where no decoded value shows it.' }));
            }
            if (p.pair.changes.length > 0) {
                const list = h('div', { class: 'table-wrap change-list' });
                holder.before(h('h4', { text: plural(p.pair.changes.length, 'changed value', 'changed values') }), list);
                list.innerHTML = p.pair.changes.length <= 2000 ? changesTable(p.pair.changes)
                    : changesTable(p.pair.changes.slice(0, 2000)) + `<p class="muted">and ${p.pair.changes.length - 2000} more, highlighted below.</p>`;
            }
            const otherSide = p.after ? p.before : null;
            deferContent(section, holder, shown, otherSide, changeMap(p.pair.changes));
            sections.append(section);
        }

        root.append(
            h('header', { id: 'summary' },
                h('h1', null, 'Comparison ', h('span', { class: 'unit-name', text: `${nameOf(before)} \u2192 ${nameOf(after)}` })),
                h('div', { class: 'comparison-summary' },
                    h('p', null, h('span', { class: 'compared-count', text: String(summary.compared) }), ' blocks compared, ',
                        h('span', { class: 'changed-count', text: String(summary.changed) }), ' changed.'),
                    summary.unitNamesDiffer ? h('p', { class: 'damage-note unit-names-differ', text: 'The unit names differ: these are boards of different types.' }) : null,
                    h('ul', { class: 'summary-lists' },
                        h('li', null, 'Changed: ', h('span', { class: 'changed-blocks' }, nameList(summary.changedBlocks, anchorOf))),
                        h('li', null, 'Only in the first: ', h('span', { class: 'only-first' }, nameList(summary.onlyFirst, anchorOf))),
                        h('li', null, 'Only in the second: ', h('span', { class: 'only-second' }, nameList(summary.onlySecond, anchorOf))))),
                h('div', { class: 'sides' }, boardHeader(before, 'Before'), boardHeader(after, 'After'))),
            section('ident-changes', 'Ident changes', valueChangeTable('ident-changes', comparison.identChanges, false)),
            section('service-changes', 'Service changes', valueChangeTable('service-changes', comparison.serviceChanges, true)),
            section('service', 'Service history after', serviceContent(after.service)),
            section('block-list-part', 'Blocks', blockList(rows, ['id', 'name', 'change', 'values changed', 'offset before', 'offset after', 'checksum'])),
            section('block-part', 'Values', sections));
    }

    // ---- charts ---------------------------------------------------------------------

    const charting = (function () {
        const drawn = new Map();    // holder -> job with its plot
        const waiting = new Map();  // holder -> job
        const observer = new IntersectionObserver((entries) => {
            for (const entry of entries) if (entry.isIntersecting) draw(entry.target);
        }, { rootMargin: '200px 0px' });

        // Every chart the model has, to mark the moment the last one is drawn.
        const expected = countCharts(model);
        let drawnCount = 0;
        if (expected === 0) performance.mark('quenview:charts-drawn');
        function chartDrawn(holder) {
            if (holder.dataset.drawn === 'true') return;
            holder.dataset.drawn = 'true';
            if (++drawnCount === expected) performance.mark('quenview:charts-drawn');
        }

        // One font for every text of a chart: a canvas parses its font anew
        // whenever it changes, and that cost the most of drawing an axis.
        const axisFont = '12px sans-serif';

        // Colours from the style sheet and the width of a chart, read once:
        // every read of them would lay out the whole page again. They are read
        // anew after a resize, a change of colour scheme and for printing.
        let look = null;
        let fixedWidth = null;
        function currentLook(holder) {
            if (!look) {
                const style = getComputedStyle(document.documentElement);
                const colour = (name) => style.getPropertyValue(name).trim();
                look = {
                    colours: [1, 2, 3, 4, 5, 6, 7, 8].map((i) => colour(`--chart-${i}`)),
                    axis: colour('--chart-axis'),
                    grid: colour('--chart-grid'),
                    background: colour('--bg'),
                    width: fixedWidth || Math.max(320, holder.clientWidth || 800),
                };
            }
            return look;
        }

        // Axis numbers with an SI prefix, so that frequencies stay readable.
        function tickLabel(value) {
            if (value === null || value === undefined) return '';
            const size = Math.abs(value);
            const prefixes = [[1e9, 'G'], [1e6, 'M'], [1e3, 'k']];
            for (const [scale, prefix] of prefixes) {
                if (size >= scale) return `${Number((value / scale).toPrecision(6))}${prefix}`;
            }
            return String(Number(value.toPrecision(6)));
        }

        // The rows of a grid as points sorted along x; rows without an x are
        // left out of the chart (the table still shows them).
        function points(grid) {
            const numbered = grid.xValues.length === 0;
            const rows = [];
            grid.values.forEach((row, r) => {
                const x = numbered ? r + 1 : grid.xValues[r];
                if (x !== null && x !== undefined && Number.isFinite(x)) rows.push({ x, row });
            });
            rows.sort((a, b) => a.x - b.x);
            return rows;
        }

        // One x axis for every grid of the chart and both sides of a
        // comparison: the union of their x values. Each column of each grid is
        // a series, the side before a change drawn beside the side after it.
        function chartData(job) {
            const sides = job.parts.map((part) => ({ part, after: points(part.grid), before: part.beforeGrid ? points(part.beforeGrid) : null }));
            const all = new Set();
            for (const side of sides) {
                for (const p of side.after) all.add(p.x);
                if (side.before) for (const p of side.before) all.add(p.x);
            }
            const xs = Array.from(all).sort((a, b) => a - b);
            const aligned = (rows, column) => {
                const byX = new Map(rows.map((p) => [p.x, p.row[column]]));
                return xs.map((x) => (byX.has(x) && byX.get(x) !== undefined ? byX.get(x) : null));
            };
            const named = job.parts.length > 1;
            const series = [];
            let colour = 0;
            for (const side of sides) {
                const { grid, beforeGrid } = side.part;
                grid.columns.forEach((column, c) => {
                    const label = named ? `${grid.title}: ${column.name}` : column.name;
                    const beforeColumn = beforeGrid ? beforeGrid.columns.findIndex((b) => b.name === column.name) : -1;
                    if (beforeColumn >= 0) {
                        series.push({ label: `${label} (before)`, unit: column.unit, name: column.name, colour, side: 'before', values: aligned(side.before, beforeColumn) });
                    }
                    series.push({ label: beforeGrid ? `${label} (after)` : label, unit: column.unit, name: column.name, colour, side: beforeGrid ? 'after' : null, values: aligned(side.after, c) });
                    ++colour;
                });
            }
            // Where the grids' rows do not share their x values, lines join
            // their own points across the others'.
            const sparse = sides.some((side) => side.after.length !== xs.length);
            return { xs, series, sparse };
        }

        function create(holder, job) {
            const { xs, series, sparse } = chartData(job);
            const { colours, axis: axisColour, grid: gridColour, background, width } = currentLook(holder);
            const positive = xs.length > 0 && xs[0] > 0;
            const logarithmic = positive && xs[xs.length - 1] / xs[0] > 100;
            const xLabel = job.numbered ? (job.x.name || 'row') : withUnit(job.x);

            // One y scale per unit, its axis labelled with the names that share it.
            const units = [];
            for (const s of series) if (!units.includes(s.unit)) units.push(s.unit);
            const scaleOf = (unit) => `y${units.indexOf(unit)}`;
            const yAxes = units.map((unit, i) => {
                const names = Array.from(new Set(series.filter((s) => s.unit === unit).map((s) => s.name)));
                const name = names.length === 1 ? names[0] : job.title;
                return {
                    scale: scaleOf(unit), side: i % 2 === 0 ? 3 : 1, label: unit ? `${name} [${unit}]` : name, font: axisFont, labelFont: axisFont,
                    stroke: axisColour, grid: { show: i === 0, stroke: gridColour, width: 1 }, ticks: { stroke: gridColour },
                    values: (u, splits) => splits.map(tickLabel), size: 60,
                };
            });
            const scales = { x: { time: false, distr: logarithmic ? 3 : 1, log: 10 } };
            for (const unit of units) scales[scaleOf(unit)] = { auto: true };

            const uSeries = [{ label: xLabel, value: (u, v) => formatNumber(v) }];
            for (const s of series) {
                const colour = colours[s.colour % colours.length];
                const cycle = Math.floor(s.colour / colours.length);
                const before = s.side === 'before';
                uSeries.push({
                    label: s.label,
                    scale: scaleOf(s.unit),
                    stroke: colour,
                    // Lines one pixel wide: wider ones cost canvases of many
                    // points ten times the drawing time.
                    width: 1,
                    dash: before ? [6, 4] : (cycle % 2 === 1 ? [2, 3] : undefined),
                    spanGaps: sparse,
                    // Markers wherever the points stand apart; a dense curve shows
                    // them when zoomed in (drag across the chart; double-click
                    // goes back).
                    points: { size: before ? 6 : 5, stroke: colour, fill: before ? background : colour, width: 1.25 },
                    value: (u, v) => formatNumber(v),
                });
            }
            const tip = h('div', { class: 'chart-tip', hidden: true });
            const options = {
                width,
                height: 300,
                scales,
                series: uSeries,
                axes: [{ scale: 'x', label: xLabel, font: axisFont, labelFont: axisFont, stroke: axisColour, grid: { stroke: gridColour, width: 1 }, ticks: { stroke: gridColour },
                    values: (u, splits) => splits.map(tickLabel) }, ...yAxes],
                legend: { live: true },
                cursor: { focus: { prox: 30 } },
                focus: { alpha: 0.4 },
                hooks: {
                    setCursor: [(u) => showTip(u, tip, job, series, xs)],
                    draw: [() => chartDrawn(holder)],
                },
            };
            const data = [xs, ...series.map((s) => s.values)];
            holder.textContent = '';
            const plot = new uPlot(options, data, holder);
            holder.append(tip);
            return plot;
        }

        // The point nearest the pointer, with its exact value.
        function showTip(u, tip, job, series, xs) {
            const idx = u.cursor.idx;
            if (idx === null || idx === undefined || u.cursor.left < 0) {
                tip.hidden = true;
                return;
            }
            let best = -1;
            let bestDistance = Infinity;
            for (let s = 1; s < u.series.length; ++s) {
                const value = u.data[s][idx];
                if (!u.series[s].show || value === null || value === undefined) continue;
                const distance = Math.abs(u.valToPos(value, u.series[s].scale) - u.cursor.top);
                if (distance < bestDistance) {
                    bestDistance = distance;
                    best = s;
                }
            }
            if (best < 0) {
                tip.hidden = true;
                return;
            }
            const shown = series[best - 1];
            const value = u.data[best][idx];
            const xText = `${formatNumber(xs[idx])}${job.x.unit && !job.numbered ? ' ' + job.x.unit : ''}`;
            tip.textContent = `${shown.label}: ${formatNumber(value)}${shown.unit ? ' ' + shown.unit : ''} at ${xText}`;
            tip.hidden = false;
            const over = u.over.getBoundingClientRect();
            const box = tip.parentElement.getBoundingClientRect();
            const left = over.left - box.left + u.valToPos(xs[idx], 'x') + 12;
            const top = over.top - box.top + u.valToPos(value, u.series[best].scale) - 28;
            tip.style.left = `${Math.max(0, Math.min(left, box.width - tip.offsetWidth - 4))}px`;
            tip.style.top = `${Math.max(0, top)}px`;
        }

        function draw(holder) {
            const job = waiting.get(holder);
            if (!job) return;
            waiting.delete(holder);
            observer.unobserve(holder);
            job.plot = create(holder, job);
            drawn.set(holder, job);
        }

        // job: { title, x, numbered, parts: [{ grid, beforeGrid }] }
        function watch(holder, job) {
            waiting.set(holder, job);
            observer.observe(holder);
        }

        // Charts take their colours from the style sheet: they are drawn
        // again when the colour scheme changes or for printing.
        function redrawAll(width) {
            look = null;
            fixedWidth = width;
            for (const [holder, job] of drawn) {
                job.plot.destroy();
                job.plot = create(holder, job);
            }
        }

        function drawNextWaiting() {
            const holder = waiting.keys().next().value;
            if (holder) draw(holder);
            return waiting.size > 0;
        }

        function drawAll() {
            for (const holder of Array.from(waiting.keys())) draw(holder);
        }

        function resizeAll() {
            look = null;
            for (const [holder, job] of drawn) {
                const { width } = currentLook(holder);
                if (Math.abs(width - job.plot.width) > 1) job.plot.setSize({ width, height: 300 });
            }
        }

        return { watch, redrawAll, drawAll, drawNextWaiting, resizeAll, instance: (holder) => (drawn.get(holder) || {}).plot };
    })();

    // ---- printing -----------------------------------------------------------------

    // Paper gets every section and every chart, in light colours at the width
    // of an A4 page.
    const printWidth = 680;
    let printing = false;
    function beforePrint() {
        if (printing) return;
        printing = true;
        document.documentElement.classList.add('printing');
        for (const section of Array.from(pendingContent.keys())) fillSection(section);
        for (const details of document.querySelectorAll('details.values')) {
            openTable(details);
            details.open = true;
        }
        charting.drawAll();
        charting.redrawAll(printWidth);
    }
    function afterPrint() {
        if (!printing) return;
        printing = false;
        document.documentElement.classList.remove('printing');
        charting.redrawAll(null);
    }
    window.addEventListener('beforeprint', beforePrint);
    window.addEventListener('afterprint', afterPrint);
    window.matchMedia('print').addEventListener('change', (event) => (event.matches ? beforePrint() : afterPrint()));
    window.matchMedia('(prefers-color-scheme: dark)').addEventListener('change', () => charting.redrawAll(null));

    let resizePending = false;
    window.addEventListener('resize', () => {
        if (resizePending || printing) return;
        resizePending = true;
        requestAnimationFrame(() => {
            resizePending = false;
            charting.resizeAll();
        });
    });

    // ---- start ------------------------------------------------------------------------

    if (model.kind === 'comparison') renderComparison(model.comparison);
    else renderReport(model.report);
    keyboardShortcuts();
    // Marks for the benchmark: the summary and the block list are built, and
    // the frame that shows them has been drawn.
    performance.mark('quenview:summary-built');
    requestAnimationFrame(() => setTimeout(() => {
        performance.mark('quenview:summary-shown');
        fillRemainingWhenIdle();
    }, 0));
    if (location.hash) {
        const target = document.getElementById(location.hash.slice(1));
        if (target) target.scrollIntoView();
    }

    // For the browser tests and the benchmark: the chart drawn in a holder.
    window.quenview = { chart: charting.instance };
})();
