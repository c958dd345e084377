// quenview report page. It reads the model that quenview put into the page as
// JSON and builds the report of one board or the comparison of two. Block
// contents are built as they come near the view (and the rest while the
// browser is idle), charts are drawn by uPlot as they come into view, so that
// large images open quickly. Printing builds and draws everything first.
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

    // Values are shown exactly as the model holds them; a no-value is blank.
    function formatNumber(value) {
        return value === null || value === undefined ? '' : String(value);
    }

    function formatDifference(value) {
        if (value === null || value === undefined) return '';
        return value > 0 ? '+' + String(value) : String(value);
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

    // Builds the content of one block section: fields, then each grid with its
    // chart and its table (the chart's text alternative), or the hex dump.
    // `before` is the other side of a comparison (or null).
    function buildContent(holder, block, before, changes) {
        const parts = [];
        if (block.fields.length > 0) parts.push(`<div class="table-wrap">${fieldsTable(block.fields, changes)}</div>`);
        const charts = [];
        block.grids.forEach((grid, index) => {
            parts.push(`<h4>${escapeHtml(grid.title)}</h4>`);
            if (hasSeries(grid)) {
                parts.push(`<div class="chart" data-grid="${index}" role="img" aria-label="${escapeHtml('chart of ' + grid.title + ', values in the table below')}"></div>`);
                const beforeGrid = before ? before.grids.find((g) => g.title === grid.title && hasSeries(g)) : null;
                charts.push({ grid, beforeGrid, index });
            }
            parts.push(`<div class="table-wrap">${gridTable(grid, changes)}</div>`);
        });
        if (block.rawHex !== undefined) {
            parts.push(`<h4>Bytes (${block.rawHex.length / 2})</h4><pre class="hex">${escapeHtml(hexDump(block.rawHex))}</pre>`);
        }
        if (parts.length === 0) parts.push('<p class="muted">No values.</p>');
        holder.innerHTML = parts.join('');
        for (const chart of charts) {
            const node = holder.querySelector(`.chart[data-grid="${chart.index}"]`);
            charting.watch(node, chart.grid, chart.beforeGrid);
        }
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
        const rows = block.grids.reduce((sum, g) => sum + g.values.length, 0) + block.fields.length;
        holder.style.minHeight = `${Math.min(rows * 22, 20000) + block.grids.filter(hasSeries).length * 340}px`;
        holder.textContent = 'Loading values\u2026';
        holder.classList.add('pending');
        pendingContent.set(section, () => {
            holder.classList.remove('pending');
            holder.style.minHeight = '';
            buildContent(holder, block, before, changes);
        });
        contentObserver.observe(section);
    }

    function fillRemainingWhenIdle() {
        const idle = window.requestIdleCallback || ((callback) => setTimeout(() => callback({ timeRemaining: () => 8 }), 50));
        const step = (deadline) => {
            for (const section of pendingContent.keys()) {
                if (deadline.timeRemaining() < 4) break;
                fillSection(section);
            }
            if (pendingContent.size > 0) idle(step);
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

        const takeBefore = blocksById(before.blocks);
        const takeAfter = blocksById(after.blocks);
        const pairs = comparison.pairs.map((pair, i) => ({
            pair, index: i, before: takeBefore(pair.id), after: takeAfter(pair.id), anchor: `pair-${i}`,
        }));
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
        const drawn = new Map();    // holder -> { plot, grid, beforeGrid }
        const waiting = new Map();  // holder -> { grid, beforeGrid }
        const observer = new IntersectionObserver((entries) => {
            for (const entry of entries) if (entry.isIntersecting) draw(entry.target);
        }, { rootMargin: '200px 0px' });

        function cssColour(name) {
            return getComputedStyle(document.documentElement).getPropertyValue(name).trim();
        }

        function palette() {
            return [1, 2, 3, 4, 5, 6, 7, 8].map((i) => cssColour(`--chart-${i}`));
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

        // One x axis for both sides of a comparison: the union of their x values.
        function chartData(grid, beforeGrid) {
            const afterRows = points(grid);
            const beforeRows = beforeGrid ? points(beforeGrid) : [];
            const xs = Array.from(new Set([...afterRows.map((p) => p.x), ...beforeRows.map((p) => p.x)])).sort((a, b) => a - b);
            const aligned = (rows, column) => {
                const byX = new Map(rows.map((p) => [p.x, p.row[column]]));
                return xs.map((x) => (byX.has(x) && byX.get(x) !== undefined ? byX.get(x) : null));
            };
            const series = [];
            grid.columns.forEach((column, c) => {
                const beforeColumn = beforeGrid ? beforeGrid.columns.findIndex((b) => b.name === column.name) : -1;
                if (beforeColumn >= 0) series.push({ column, c, side: 'before', values: aligned(beforeRows, beforeColumn) });
                series.push({ column, c, side: beforeGrid ? 'after' : null, values: aligned(afterRows, c) });
            });
            return { xs, series, sparse: !!beforeGrid && xs.length !== afterRows.length };
        }

        function create(holder, grid, beforeGrid) {
            const { xs, series, sparse } = chartData(grid, beforeGrid);
            const colours = palette();
            const axisColour = cssColour('--chart-axis');
            const gridColour = cssColour('--chart-grid');
            const background = cssColour('--bg');
            const positive = xs.length > 0 && xs[0] > 0;
            const logarithmic = positive && xs[xs.length - 1] / xs[0] > 100;
            const xLabel = grid.xValues.length === 0 ? (grid.x.name || 'row') : withUnit(grid.x);

            // One y scale per unit, its axis labelled with the names that share it.
            const units = [];
            for (const s of series) if (!units.includes(s.column.unit)) units.push(s.column.unit);
            const scaleOf = (unit) => `y${units.indexOf(unit)}`;
            const yAxes = units.map((unit, i) => {
                const names = Array.from(new Set(series.filter((s) => s.column.unit === unit).map((s) => s.column.name)));
                const name = names.length === 1 ? names[0] : grid.title;
                return {
                    scale: scaleOf(unit), side: i % 2 === 0 ? 3 : 1, label: unit ? `${name} [${unit}]` : name,
                    stroke: axisColour, grid: { show: i === 0, stroke: gridColour, width: 1 }, ticks: { stroke: gridColour },
                    values: (u, splits) => splits.map(tickLabel), size: 60,
                };
            });
            const scales = { x: { time: false, distr: logarithmic ? 3 : 1, log: 10 } };
            for (const unit of units) scales[scaleOf(unit)] = { auto: true };

            const uSeries = [{ label: xLabel, value: (u, v) => formatNumber(v) }];
            for (const s of series) {
                const colour = colours[s.c % colours.length];
                const cycle = Math.floor(s.c / colours.length);
                const before = s.side === 'before';
                uSeries.push({
                    label: s.side ? `${s.column.name} (${s.side})` : s.column.name,
                    scale: scaleOf(s.column.unit),
                    stroke: colour,
                    width: before ? 1.25 : 1.75,
                    dash: before ? [6, 4] : (cycle % 2 === 1 ? [2, 3] : undefined),
                    spanGaps: sparse,
                    points: { show: true, size: before ? 6 : 5, stroke: colour, fill: before ? background : colour, width: 1.25 },
                    value: (u, v) => formatNumber(v),
                });
            }
            const tip = h('div', { class: 'chart-tip', hidden: true });
            const options = {
                width: Math.max(320, holder.clientWidth || 800),
                height: 300,
                scales,
                series: uSeries,
                axes: [{ scale: 'x', label: xLabel, stroke: axisColour, grid: { stroke: gridColour, width: 1 }, ticks: { stroke: gridColour },
                    values: (u, splits) => splits.map(tickLabel) }, ...yAxes],
                legend: { live: true },
                cursor: { focus: { prox: 30 } },
                focus: { alpha: 0.4 },
                hooks: {
                    setCursor: [(u) => showTip(u, tip, grid, xs)],
                    draw: [() => { holder.dataset.drawn = 'true'; }],
                },
            };
            const data = [xs, ...series.map((s) => s.values)];
            holder.textContent = '';
            const plot = new uPlot(options, data, holder);
            holder.append(tip);
            return plot;
        }

        // The point nearest the pointer, with its exact value.
        function showTip(u, tip, grid, xs) {
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
            const series = u.series[best];
            const column = grid.columns.find((c) => series.label.startsWith(c.name)) || { unit: '' };
            const xText = `${formatNumber(xs[idx])}${grid.x.unit ? ' ' + grid.x.unit : ''}`;
            tip.textContent = `${series.label}: ${formatNumber(u.data[best][idx])}${column.unit ? ' ' + column.unit : ''} at ${xText}`;
            tip.hidden = false;
            const over = u.over.getBoundingClientRect();
            const box = tip.parentElement.getBoundingClientRect();
            const left = over.left - box.left + u.valToPos(xs[idx], 'x') + 12;
            const top = over.top - box.top + u.valToPos(u.data[best][idx], series.scale) - 28;
            tip.style.left = `${Math.min(left, box.width - tip.offsetWidth - 4)}px`;
            tip.style.top = `${Math.max(0, top)}px`;
        }

        function draw(holder) {
            const job = waiting.get(holder);
            if (!job) return;
            waiting.delete(holder);
            observer.unobserve(holder);
            drawn.set(holder, { plot: create(holder, job.grid, job.beforeGrid), grid: job.grid, beforeGrid: job.beforeGrid });
        }

        function watch(holder, grid, beforeGrid) {
            waiting.set(holder, { grid, beforeGrid });
            observer.observe(holder);
        }

        // Charts take their colours from the style sheet: they are drawn
        // again when the colour scheme changes or for printing.
        function redrawAll(width) {
            for (const [holder, job] of drawn) {
                job.plot.destroy();
                if (width) holder.style.width = `${width}px`;
                else holder.style.width = '';
                job.plot = create(holder, job.grid, job.beforeGrid);
            }
        }

        function drawAll() {
            for (const holder of Array.from(waiting.keys())) draw(holder);
        }

        function resizeAll() {
            for (const [holder, job] of drawn) {
                const width = Math.max(320, holder.clientWidth);
                if (Math.abs(width - job.plot.width) > 1) job.plot.setSize({ width, height: 300 });
            }
        }

        return { watch, redrawAll, drawAll, resizeAll, instance: (holder) => (drawn.get(holder) || {}).plot };
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
    performance.mark('quenview:summary');
    requestAnimationFrame(() => setTimeout(fillRemainingWhenIdle, 0));
    if (location.hash) {
        const target = document.getElementById(location.hash.slice(1));
        if (target) target.scrollIntoView();
    }

    // For the browser tests and the benchmark: the chart drawn in a holder.
    window.quenview = { chart: charting.instance };
})();
